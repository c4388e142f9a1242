#include "catalogview/articleitem.h"

#include <QIcon>
#include <QPixmap>

namespace {
// 16 x 16 check mark in shades of green, outlined dark.
const char* const orderedXpm[] = {
    "16 16 8 1",        "  c #000000",      ". c #004000",      "X c #400000",      "o c #008000",
    "O c #00c000",      "+ c #c0ffc0",      "@ c #ffffff",      "# c None",         "################",
    "###############+", "##############+O", "#############+Oo", "############+Oo.", "###########+Oo. ",
    "##+o######+Oo. #", "#+OOo####+Oo.X##", " .oOOo##+Oo. ###", "# .oOOo+Oo.X####", "##X.oOOOo.X#####",
    "### .oOo. ######", "#### .o. #######", "##### X ########", "################", "################"};

// Fully transparent: keeps the names of unordered rows aligned with the ordered ones.
const char* const unorderedXpm[] = {
    "16 16 3 1",        "  c #000000",      "@ c #ffffff",      "# c None",         "################",
    "################", "################", "################", "################", "################",
    "################", "################", "################", "################", "################",
    "################", "################", "################", "################", "################"};

} // namespace

const QPixmap& orderedPixmap() {
    static const QPixmap pixmap(orderedXpm);
    return pixmap;
}

const QPixmap& unorderedPixmap() {
    static const QPixmap pixmap(unorderedXpm);
    return pixmap;
}

const QIcon& orderIcon(bool ordered) {
    static const QIcon orderedIcon(orderedPixmap());
    static const QIcon unorderedIcon(unorderedPixmap());
    return ordered ? orderedIcon : unorderedIcon;
}
