#pragma once

class QIcon;
class QPixmap;

// The check mark of ordered rows and the transparent space of unordered ones; built once, shared.
const QPixmap& orderedPixmap();
const QPixmap& unorderedPixmap();
// The mark of a row as an icon, one for all rows of a state.
const QIcon& orderIcon(bool ordered);
