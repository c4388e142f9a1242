#include "tools/cataloggenerator.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// splitmix64: tiny, fast and the same everywhere, unlike the distributions of the standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, n); n > 0.
    std::size_t below(std::size_t n) { return std::size_t((next() >> 32) * std::uint64_t(n) >> 32); }
    double unit() { return double(next() >> 11) / 9007199254740992.0; }
    bool percent(unsigned p) { return below(100) < p; }
    template <class T> const T& pick(const std::vector<T>& list) { return list[below(list.size())]; }

private:
    std::uint64_t state;
};

// The tables are written in UTF-8 for the eye; the files hold Latin-1.
std::string latin1(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            out += char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        } else {
            out += char(c);
        }
    }
    return out;
}

std::vector<std::string> latin1(std::initializer_list<const char*> texts) {
    std::vector<std::string> out;
    for (const char* text : texts)
        out.push_back(latin1(std::string(text)));
    return out;
}

// mantissa (two digits, 10..99) / 10 * 10^exponent in the unit of the smallest prefix, written the German
// way: 4,7k for 4700 Ohm, 100nF, 2,2µF.
std::string engineering(int mantissa, int exponent, const std::vector<const char*>& prefixes,
                        const char* unit) {
    const std::size_t prefix = std::min(prefixes.size() - 1, std::size_t(exponent / 3));
    std::string number;
    switch (exponent % 3) {
    case 0:
        number = std::to_string(mantissa / 10);
        if (mantissa % 10)
            number += "," + std::to_string(mantissa % 10);
        break;
    case 1:
        number = std::to_string(mantissa);
        break;
    default:
        number = std::to_string(mantissa * 10);
        break;
    }
    return number + prefixes[prefix] + unit;
}

std::vector<std::string> series(const std::vector<int>& mantissas, int fromExponent, int toExponent,
                                const std::vector<const char*>& prefixes, const char* unit) {
    std::vector<std::string> out;
    for (int e = fromExponent; e <= toExponent; ++e)
        for (int m : mantissas)
            out.push_back(latin1(engineering(m, e, prefixes, unit)));
    return out;
}

const std::vector<int> e12 = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
const std::vector<int> e6 = {10, 15, 22, 33, 47, 68};

// One kind of article: an upper group, the groups it is divided into and how its articles are named.
struct Kind {
    std::string upperName;
    std::string stem; // empty when the values are whole names
    std::vector<std::string> values;
    std::vector<std::string> attributes; // may be empty
    std::vector<std::string> groupNames;
    std::string description;
    int packing;   // pieces per packing unit, typical
    int priceUnit; // 1 or 100
    int minPrice;  // thousandths per price unit
    int maxPrice;
};

struct Family {
    std::string name;
    int vatClass;
    std::vector<Kind> kinds;
};

Kind kind(const char* upper, const char* stem, std::vector<std::string> values,
          std::vector<std::string> attributes, std::vector<std::string> groups, const char* description,
          int packing, int priceUnit, int minPrice, int maxPrice) {
    return {latin1(upper),     latin1(stem),
            std::move(values), std::move(attributes),
            std::move(groups), latin1(description),
            packing,           priceUnit,
            minPrice,          maxPrice};
}

const std::vector<Family>& families() {
    static const std::vector<Family> table = [] {
        const auto colours = latin1({"rot", "grün", "gelb", "blau", "weiß", "schwarz"});
        const std::vector<const char*> ohm = {" Ohm", "k", "M"};
        const std::vector<const char*> farad = {"p", "n", "µ"};
        std::vector<Family> f;
        f.push_back(
            {latin1("Passive Bauelemente"),
             1,
             {kind("Widerstände", "Widerstand", series(e12, 0, 6, ohm, ""), latin1({"1%", "5%"}),
                   latin1({"Kohleschicht 0,25W", "Metallschicht 0,6W", "Metalloxid 1W", "Drahtwiderstand 5W",
                           "SMD 0805", "SMD 1206"}),
                   "Widerstand", 100, 100, 900, 9000),
              kind("Kondensatoren", "Kondensator", series(e6, 1, 6, farad, "F"),
                   latin1({"50V", "63V", "100V"}),
                   latin1({"Keramik", "Folie MKS", "Folie MKP", "Vielschicht X7R", "SMD 0805"}),
                   "Kondensator", 10, 1, 40, 900),
              kind("Elektrolytkondensatoren", "Elko", series(e6, 6, 9, farad, "F"),
                   latin1({"16V", "25V", "35V", "63V"}),
                   latin1({"radial 85°C", "radial 105°C", "axial", "Low ESR", "bipolar"}),
                   "Aluminium-Elektrolytkondensator", 1, 1, 60, 4500),
              kind("Potentiometer", "Poti", latin1({"1k", "4,7k", "10k", "47k", "100k", "470k", "1M"}),
                   latin1({"lin", "log"}),
                   latin1(
                       {"Dreh 6mm Achse", "Stereo", "Trimmer liegend", "Trimmer stehend", "Spindeltrimmer"}),
                   "Potentiometer", 1, 1, 250, 4800),
              kind("Spulen und Drosseln", "Drossel",
                   latin1({"10µH", "22µH", "47µH", "100µH", "220µH", "470µH", "1mH", "10mH"}),
                   latin1({"0,5A", "1A", "2A"}), latin1({"Festinduktivität axial", "Ringkern", "SMD"}),
                   "Induktivität", 1, 1, 180, 2600)}});
        f.push_back(
            {latin1("Halbleiter"),
             1,
             {kind("Dioden", "Diode",
                   latin1(
                       {"1N4148", "1N4001", "1N4007", "1N5408", "BAT43", "BAT85", "BY255", "SB560", "P600M"}),
                   {}, latin1({"Kleinsignal", "Gleichrichter", "Schottky", "Leistung"}), "Diode", 10, 1, 20,
                   900),
              kind("Z-Dioden", "Z-Diode",
                   latin1({"2,7V", "3,3V", "4,7V", "5,1V", "6,8V", "9,1V", "12V", "15V", "24V"}),
                   latin1({"0,5W", "1,3W"}), latin1({"0,5W DO-35", "1,3W DO-41"}), "Zener-Diode", 10, 1, 40,
                   350),
              kind("Transistoren", "Transistor",
                   latin1({"BC547B", "BC557B", "BC337-40", "BC327-40", "BD139", "BD140", "2N3055", "2N2222A",
                           "TIP120", "BC550C"}),
                   {},
                   latin1({"NPN Kleinsignal", "PNP Kleinsignal", "Leistung TO-220", "Darlington", "TO-3"}),
                   "Bipolartransistor", 10, 1, 40, 2400),
              kind("Feldeffekttransistoren", "MOSFET",
                   latin1({"IRF540N", "IRFZ44N", "BS170", "BUZ11", "IRLZ34N", "2N7000"}), {},
                   latin1({"N-Kanal", "P-Kanal", "Logic Level"}), "Feldeffekttransistor", 1, 1, 150, 3200),
              kind("Thyristoren und Triacs", "Triac",
                   latin1({"BT136-600", "BT137-600", "BTA16-600B", "TIC206D"}), {},
                   latin1({"Triac", "Thyristor", "Diac"}), "Leistungshalbleiter", 1, 1, 300, 2100)}});
        f.push_back(
            {latin1("Integrierte Schaltungen"),
             1,
             {kind("Logik", "IC",
                   latin1({"74HC00", "74HC04", "74HC08", "74HC14", "74HC32", "74HC74", "74HC138", "74HC245",
                           "74HC595", "CD4011", "CD4017", "CD4060"}),
                   latin1({"DIL", "SO"}), latin1({"74HC", "CMOS 4000", "74LS", "74HCT"}), "Logikbaustein", 1,
                   1, 190, 1500),
              kind("Analoge ICs", "IC",
                   latin1({"NE555", "LM358", "LM324", "TL072", "TL074", "LM393", "NE5532", "OP07", "LM741"}),
                   latin1({"DIL", "SO"}),
                   latin1({"Operationsverstärker", "Komparatoren", "Timer", "Audio-Verstärker"}), "Analog-IC",
                   1, 1, 210, 3900),
              kind("Spannungsregler", "Regler",
                   latin1({"7805", "7812", "7905", "LM317T", "LM337T", "78L05", "LM2596"}), {},
                   latin1({"Festspannung positiv", "Festspannung negativ", "einstellbar", "Schaltregler"}),
                   "Spannungsregler", 1, 1, 250, 4200),
              kind("Mikrocontroller", "µC",
                   latin1({"8Bit 2KB", "8Bit 8KB", "8Bit 32KB", "16Bit 64KB", "32Bit 128KB"}),
                   latin1({"DIL", "QFP", "SO"}), latin1({"8 Bit", "16 Bit", "32 Bit", "Programmiergeräte"}),
                   "Mikrocontroller", 1, 1, 900, 12900),
              kind("Speicher", "EEPROM", latin1({"24C02", "24C16", "24C64", "24C256", "93C46"}),
                   latin1({"DIL", "SO"}), latin1({"I2C", "SPI", "Microwire"}), "serieller Speicher", 1, 1,
                   290, 1900)}});
        f.push_back(
            {latin1("Optoelektronik"),
             1,
             {kind("Leuchtdioden", "LED", latin1({"3mm", "5mm", "10mm", "SMD 0805"}), colours,
                   latin1({"Standard", "superhell", "Low Current", "Bicolor", "RGB"}), "Leuchtdiode", 10, 1,
                   40, 990),
              kind("Anzeigen", "Anzeige",
                   latin1({"7-Segm. 13mm", "7-Segm. 20mm", "LCD 2x16", "LCD 4x20", "Bargraph"}),
                   latin1({"rot", "grün"}), latin1({"LED-Anzeigen", "LC-Displays", "Bargraphen"}), "Anzeige",
                   1, 1, 490, 14900),
              kind("Optokoppler", "Optokoppler", latin1({"CNY17-3", "PC817", "4N25", "6N137", "MOC3021"}), {},
                   latin1({"Transistorausgang", "Triacausgang", "Logikausgang"}), "Optokoppler", 1, 1, 190,
                   1400),
              kind("Lichtsensoren", "Sensor", latin1({"LDR 5mm", "LDR 10mm", "Fotodiode", "Fototransistor"}),
                   {}, latin1({"Fotowiderstände", "Fotodioden", "Fototransistoren"}), "Lichtsensor", 1, 1,
                   150, 1800)}});
        f.push_back({latin1("Steckverbinder"),
                     1,
                     {kind("Stecker", "Stecker",
                           latin1({"DIN 5-pol.", "Klinke 3,5mm", "Klinke 6,3mm", "Cinch", "BNC", "XLR 3-pol.",
                                   "Hohl 2,1mm", "Sub-D 9-pol.", "Sub-D 25-pol."}),
                           latin1({"Metall", "Kunststoff", "vergoldet"}),
                           latin1({"Audio", "HF", "Sub-D", "Niedervolt"}), "Stecker", 1, 1, 90, 2900),
                      kind("Buchsen", "Buchse",
                           latin1({"DIN 5-pol.", "Klinke 3,5mm", "Klinke 6,3mm", "Cinch", "BNC", "Hohl 2,1mm",
                                   "USB-A"}),
                           latin1({"Einbau", "Kupplung", "Print"}),
                           latin1({"Audio", "HF", "Niedervolt", "USB"}), "Buchse", 1, 1, 110, 3200),
                      kind("Stiftleisten", "Stiftleiste", latin1({"1x10", "1x40", "2x10", "2x20", "2x40"}),
                           latin1({"RM 2,54", "RM 2,0"}), latin1({"gerade", "gewinkelt", "Buchsenleisten"}),
                           "Steckverbinder", 1, 1, 60, 1200),
                      kind("Klemmen", "Klemme", latin1({"2-pol.", "3-pol.", "12-pol."}),
                           latin1({"RM 5,08", "RM 3,5"}),
                           latin1({"Printklemmen", "Lüsterklemmen", "Federkraftklemmen"}), "Klemme", 1, 1, 50,
                           990)}});
        f.push_back(
            {latin1("Kabel und Leitungen"),
             1,
             {kind("Litzen", "Litze", latin1({"0,14mm²", "0,25mm²", "0,5mm²", "0,75mm²", "1,5mm²"}), colours,
                   latin1({"Schaltlitze", "Silikonlitze", "Messleitung"}), "Litze, Meterware", 1, 1, 40, 900),
              kind("Kabel", "Kabel",
                   latin1({"2x0,75mm²", "3x1,5mm²", "LiYY 4x0,14", "LiYCY 2x0,25", "RG58", "RG59",
                           "Flachband 10p", "Flachband 40p"}),
                   latin1({"grau", "schwarz", "weiß"}),
                   latin1({"Netzkabel", "Steuerleitung", "Koaxkabel", "Flachband"}), "Kabel, Meterware", 1, 1,
                   90, 3500),
              kind("Schrumpfschlauch", "Schrumpfschl.",
                   latin1({"1,6mm", "3,2mm", "6,4mm", "9,5mm", "12,7mm"}), colours,
                   latin1({"2:1", "3:1 mit Kleber", "Sortimente"}), "Schrumpfschlauch, 1m", 1, 1, 60, 800),
              kind("Kabelbinder", "Kabelbinder", latin1({"100x2,5", "200x3,6", "300x4,8", "370x7,6"}),
                   latin1({"natur", "schwarz"}), latin1({"Standard", "wiederlösbar", "Sortimente"}),
                   "Kabelbinder, Beutel", 100, 100, 190, 2900)}});
        f.push_back(
            {latin1("Werkzeug"),
             1,
             {kind("Zangen", "",
                   latin1({"Seitenschneider 125mm", "Flachzange 140mm", "Rundzange 130mm", "Abisolierzange",
                           "Crimpzange", "Spitzzange 160mm"}),
                   {}, latin1({"Elektronikzangen", "Crimpwerkzeug", "Abisolierwerkzeug"}), "Zange", 1, 1,
                   2900, 34900),
              kind("Schraubendreher", "Schraubendreher",
                   latin1({"2,0mm", "3,0mm", "4,0mm", "PH0", "PH1", "PH2", "TX10", "TX20"}), {},
                   latin1({"Schlitz", "Kreuzschlitz", "Torx", "Sätze"}), "Schraubendreher", 1, 1, 190, 2900),
              kind("Lötwerkzeug", "",
                   latin1({"Lötkolben 15W", "Lötkolben 30W", "Lötstation 48W", "Entlötpumpe",
                           "Lötzinn 1mm 250g", "Lötzinn 0,5mm 100g", "Entlötlitze 1,5mm", "Lötspitze 2,4mm"}),
                   {}, latin1({"Lötkolben", "Lötstationen", "Lötzinn", "Zubehör"}), "Lötwerkzeug", 1, 1, 490,
                   89000),
              kind("Messgeräte", "",
                   latin1({"Multimeter digital", "Multimeter analog", "Zangenamperemeter", "Durchgangsprüfer",
                           "Prüfspitzen Satz", "Oszilloskop 20MHz", "Labornetzteil 30V 3A"}),
                   {}, latin1({"Multimeter", "Prüfgeräte", "Oszilloskope", "Labornetzgeräte"}), "Messgerät",
                   1, 1, 990, 399000)}});
        f.push_back(
            {latin1("Stromversorgung"),
             1,
             {kind("Netzteile", "Netzteil", latin1({"3V", "5V", "6V", "9V", "12V", "15V", "24V"}),
                   latin1({"300mA", "500mA", "1A", "2A"}),
                   latin1({"Steckernetzteile", "Einbaunetzteile", "Ladegeräte"}), "Netzteil", 1, 1, 490,
                   24900),
              kind("Batterien", "Batterie",
                   latin1({"Mignon AA", "Micro AAA", "Baby C", "Mono D", "9V-Block", "CR2032", "LR44"}), {},
                   latin1({"Alkali", "Lithium", "Knopfzellen"}), "Batterie", 1, 1, 90, 990),
              kind("Akkus", "Akku NiMH", latin1({"AA 2000mAh", "AAA 800mAh", "9V 200mAh", "C 3000mAh"}), {},
                   latin1({"Rundzellen", "Blockakkus", "Akkupacks"}), "Nickel-Metallhydrid-Akku", 1, 1, 290,
                   1900),
              kind("Transformatoren", "Trafo", latin1({"2x6V", "2x9V", "2x12V", "2x15V", "1x24V"}),
                   latin1({"3VA", "10VA", "30VA", "50VA"}),
                   latin1({"Printtrafos", "Ringkerntrafos", "Steuertrafos"}), "Transformator", 1, 1, 390,
                   8900)}});
        f.push_back(
            {latin1("Elektromechanik"),
             1,
             {kind("Schalter", "Schalter",
                   latin1({"Kipp 1xEin", "Kipp 1xUm", "Kipp 2xUm", "Schiebe 1xUm", "Wippe"}), {},
                   latin1({"Kippschalter", "Schiebeschalter", "Wippschalter", "Drehschalter"}), "Schalter", 1,
                   1, 90, 890),
              kind("Taster", "Taster", latin1({"6x6mm", "12x12mm", "Druck rot", "Druck schwarz", "Print"}),
                   {}, latin1({"Kurzhubtaster", "Drucktaster", "Folientaster"}), "Taster", 10, 1, 20, 390),
              kind("Relais", "Relais", latin1({"5V", "12V", "24V"}),
                   latin1({"1xUm 10A", "2xUm 2A", "1xEin 16A"}),
                   latin1({"Printrelais", "Kfz-Relais", "Reedrelais"}), "Relais", 1, 1, 190, 1400),
              kind("Sicherungen", "Sicherung", latin1({"0,5A", "1A", "2A", "3,15A", "6,3A", "10A"}),
                   latin1({"flink", "träge"}),
                   latin1({"Feinsicherungen 5x20", "Feinsicherungen 6,3x32", "Halter"}), "Feinsicherung", 10,
                   1, 15, 190),
              kind("Lüfter und Kühlkörper", "Lüfter", latin1({"40x40mm", "60x60mm", "80x80mm", "120x120mm"}),
                   latin1({"5V", "12V", "24V"}), latin1({"Axiallüfter", "Kühlkörper", "Wärmeleitmaterial"}),
                   "Lüfter", 1, 1, 290, 1900)}});
        f.push_back(
            {latin1("Gehäuse"),
             1,
             {kind("Kunststoffgehäuse", "Gehäuse",
                   latin1({"ABS 100x60x25", "ABS 120x80x40", "ABS 150x80x50"}), latin1({"grau", "schwarz"}),
                   latin1({"Universalgehäuse", "Handgehäuse", "Pultgehäuse"}), "Kunststoffgehäuse", 1, 1, 190,
                   2900),
              kind("Aluminiumgehäuse", "Alugehäuse",
                   latin1({"100x50x25", "150x80x50", "19\" 1HE", "19\" 2HE"}), {},
                   latin1({"Profilgehäuse", "Druckguss", "19-Zoll"}), "Aluminiumgehäuse", 1, 1, 790, 12900),
              kind("Zubehör Gehäuse", "",
                   latin1({"Gerätefuß 20mm", "Drehknopf 6mm", "Frontplatte", "Tragegriff"}), {},
                   latin1({"Füße", "Knöpfe", "Griffe"}), "Gehäusezubehör", 4, 1, 40, 990)}});
        f.push_back(
            {latin1("Computer und Netzwerk"),
             1,
             {kind("Kabel und Adapter", "",
                   latin1({"USB-Kabel A-B 1,8m", "USB A-Micro 1m", "Patchkabel Cat6 2m", "HDMI-Kabel 1,5m",
                           "Nullmodemkabel 2m"}),
                   {}, latin1({"USB", "Netzwerk", "Video", "Seriell"}), "Verbindungskabel", 1, 1, 190, 1900),
              kind("Speichermedien", "", latin1({"SD-Karte 32GB", "USB-Stick 64GB", "microSD 16GB"}), {},
                   latin1({"Speicherkarten", "USB-Sticks"}), "Speichermedium", 1, 1, 490, 2900),
              kind("Eingabegeräte", "", latin1({"Maus optisch", "Tastatur deutsch", "Ziffernblock"}), {},
                   latin1({"Mäuse", "Tastaturen"}), "Eingabegerät", 1, 1, 490, 3900)}});
        f.push_back(
            {latin1("Audio und Video"),
             1,
             {kind("Lautsprecher", "Lautsprecher",
                   latin1({"8 Ohm 2W", "4 Ohm 10W", "8 Ohm 0,5W", "Hochtöner"}), {},
                   latin1({"Kleinlautsprecher", "Hifi-Chassis", "Piezo"}), "Lautsprecher", 1, 1, 190, 4900),
              kind("Mikrofone und Summer", "",
                   latin1({"Mikrofonkapsel", "Piezo-Summer 12V", "Elektretmikrofon"}), {},
                   latin1({"Mikrofone", "Summer", "Signalgeber"}), "Schallwandler", 1, 1, 90, 990)}});
        f.push_back({latin1("Bausätze"),
                     1,
                     {kind("Bausätze", "Bausatz",
                           latin1({"Blinker", "Lauflicht", "Netzteil 0-30V", "Verstärker 2x20W", "Würfel",
                                   "Dämmerungsschalter"}),
                           {}, latin1({"Einsteiger", "Stromversorgung", "Audio", "Licht"}),
                           "Bausatz mit Anleitung", 1, 1, 490, 4900)}});
        f.push_back(
            {latin1("Chemie und Hilfsmittel"),
             1,
             {kind("Sprays und Pasten", "",
                   latin1({"Kontaktspray 200ml", "Kältespray 400ml", "Lötfett 50g", "Flussmittel 50ml",
                           "Wärmeleitpaste 10g"}),
                   {}, latin1({"Sprays", "Pasten", "Flussmittel"}), "Werkstattchemie", 1, 1, 190, 1900),
              kind("Platinen", "Platine", latin1({"100x160", "160x233", "Lochraster", "Streifenraster"}),
                   latin1({"1-seitig", "2-seitig", "fotobeschichtet"}),
                   latin1({"Basismaterial", "Experimentierplatinen"}), "Leiterplatte", 1, 1, 190, 1900)}});
        f.push_back(
            {latin1("Literatur"),
             2,
             {kind("Bücher", "",
                   latin1({"Buch: Elektronik lernen", "Buch: Löten", "Tabellenbuch Elektronik",
                           "Datenbuch Transistoren", "Schaltungssammlung"}),
                   {}, latin1({"Grundlagen", "Nachschlagewerke", "Praxis"}), "Fachbuch", 1, 1, 990, 4900)}});
        f.push_back(
            {latin1("Sonderposten"),
             1,
             {kind(
                 "Restposten", "",
                 latin1({"Sortiment Widerstände", "Sortiment Kondensatoren", "Sortiment LEDs", "Wundertüte"}),
                 {}, latin1({"Sortimente", "Restposten"}), "Solange Vorrat reicht", 1, 1, 190, 990)}});
        return f;
    }();
    return table;
}

// Extra words for the names of repeated upper groups and groups.
const std::vector<std::string>& qualifiers() {
    static const std::vector<std::string> list =
        latin1({"Sortiment", "Industrie", "Miniatur", "Hochlast", "Profi", "Sonderposten", "Neuheiten",
                "Restposten", "Großpackung", "SMD", "Kleinmengen", "Ersatzteile"});
    return list;
}

const std::vector<std::string>& features() {
    static const std::vector<std::string> list =
        latin1({"RoHS-konform", "bleifrei", "im Blister", "lose", "Industriequalität", "Markenware",
                "Auslaufartikel", "Neuheit", "gegurtet", "Preis-Tipp"});
    return list;
}

std::string repeatedName(const std::string& name, std::size_t round) {
    if (round == 0)
        return name;
    const auto& q = qualifiers();
    if (round <= q.size())
        return name + " " + q[round - 1];
    return name + " " + std::to_string(round + 1);
}

// Two key characters for the n-th child (0-based) of a group: 01..99, then letters.
std::string childKey(std::size_t n) {
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    n += 1;
    if (n < 100)
        return {char('0' + n / 10), char('0' + n % 10)};
    n = n - 100 + 36 * 10; // continue after "99" with "A0".. in base 36
    return {digits[(n / 36) % 36], digits[n % 36]};
}

// Spreads total over parts so that every part gets at least minimum (when total allows) and the rest
// falls by random weights, some parts much heavier than others.
std::vector<std::size_t> spread(std::size_t total, std::size_t parts, std::size_t minimum, Random& random) {
    std::vector<std::size_t> out(parts, 0);
    if (parts == 0)
        return out;
    const std::size_t base = std::min(minimum, total / parts);
    std::vector<double> weights(parts);
    double sum = 0.0;
    for (double& w : weights) {
        const double u = random.unit();
        w = 0.2 + 3.0 * u * u;
        sum += w;
    }
    std::size_t left = total - base * parts;
    const std::size_t toShare = left;
    for (std::size_t i = 0; i < parts; ++i) {
        const auto share = std::min(left, std::size_t(double(toShare) * weights[i] / sum));
        out[i] = base + share;
        left -= share;
    }
    while (left > 0) {
        ++out[random.below(parts)];
        --left;
    }
    return out;
}

void putText(std::string& out, const std::string& text, std::size_t width) {
    const std::size_t n = std::min(text.size(), width);
    out.append(text, 0, n);
    out.append(width - n, '\0');
}

void putInt16(std::string& out, int value) {
    const auto bits = static_cast<unsigned>(value);
    out += char(bits & 0xFF);
    out += char((bits >> 8) & 0xFF);
}

void putUInt32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out += char((value >> shift) & 0xFF);
}

void putGroup(std::string& out, const std::string& key, const std::string& name) {
    out += key;
    putText(out, name, 40);
    out.append(2, '\0');
}

// Makes the records of the articles of one group.
class ArticleMaker {
public:
    ArticleMaker(const Kind& kind, const std::string& groupKey, const std::string& groupName, int vatClass,
                 Random& random)
        : kind(kind), groupKey(groupKey), groupName(groupName), vatClass(vatClass), random(random),
          next(random.below(kind.values.size())) {}

    void append(std::string& out) {
        const std::string& value = kind.values[next];
        next = (next + 1 + (random.percent(30) ? random.below(3) : 0)) % kind.values.size();
        const std::string* attribute = kind.attributes.empty() ? nullptr : &random.pick(kind.attributes);

        std::string name = kind.stem.empty() ? value : kind.stem + " " + value;
        // A name cut in the middle of the attribute reads badly; the description carries it anyway.
        if (attribute && name.size() + 1 + attribute->size() <= 24)
            name += " " + *attribute;

        out += groupKey;
        putText(out, name, 24);
        appendOtherNames(out, value, attribute);
        std::string description = kind.description + ", " + groupName;
        if (attribute)
            description += ", " + *attribute;
        if (random.percent(60)) {
            const std::string& feature = random.pick(features());
            if (description.size() + 2 + feature.size() <= 50)
                description += ", " + feature;
        }
        putText(out, description, 50);

        putInt16(out, status());
        putInt16(out, packingUnit());
        putInt16(out, random.percent(1) ? 0 : vatClass);
        putInt16(out, kind.priceUnit);
        appendPriceScale(out);
    }

private:
    void appendOtherNames(std::string& out, const std::string& value, const std::string* attribute) {
        std::vector<std::string> names;
        const std::size_t count = random.percent(35) ? 0 : 1 + random.below(random.percent(70) ? 2 : 6);
        const std::string abbreviation = kind.stem.substr(0, std::min<std::size_t>(3, kind.stem.size()));
        // The international spelling: 4.7k for 4,7k.
        std::string compact;
        for (char c : value)
            if (c != ' ')
                compact += c == ',' ? '.' : c;
        const std::string candidates[] = {
            compact,
            abbreviation.empty() ? compact : abbreviation + "-" + compact,
            attribute ? value + " " + *attribute : value,
            "Typ " + value,
            compact + " " + groupName.substr(0, groupName.find(' ')),
            "Art.-Nr. " + groupKey + std::to_string(random.below(1000)),
        };
        const std::size_t first = random.below(6);
        for (std::size_t i = 0; i < count; ++i)
            names.push_back(candidates[(first + i) % 6]);
        // Now and then a name stands in a later field with empty ones before it.
        std::size_t slot = 0;
        for (std::size_t field = 0; field < 6; ++field) {
            const bool gap = slot < names.size() && field + (names.size() - slot) < 6 && random.percent(10);
            putText(out, !gap && slot < names.size() ? names[slot++] : std::string(), 24);
        }
    }

    int status() {
        const std::size_t r = random.below(1000);
        if (r < 820)
            return 1;
        if (r < 890)
            return 2;
        if (r < 940)
            return 3;
        if (r < 980)
            return 4;
        static const int unknown[] = {0, 5, 9, 99};
        return unknown[random.below(4)];
    }

    int packingUnit() {
        if (random.percent(80))
            return kind.packing;
        static const int units[] = {1, 2, 5, 10, 25, 50, 100};
        return units[random.below(7)];
    }

    void appendPriceScale(std::string& out) {
        const std::size_t r = random.below(100);
        const int count = r < 3 ? 0 : r < 33 ? 1 : r < 58 ? 2 : r < 78 ? 3 : r < 90 ? 4 : 5;
        out += char(count);
        static const std::uint32_t firstQuantities[] = {2, 5, 10};
        std::uint32_t quantity = random.percent(80) ? 1 : firstQuantities[random.below(3)];
        std::uint32_t price =
            std::uint32_t(kind.minPrice + int(random.below(std::size_t(kind.maxPrice - kind.minPrice + 1))));
        price = std::max<std::uint32_t>(10, price / 10 * 10);
        std::uint32_t quantities[5], prices[5];
        static const std::uint32_t steps[] = {2, 3, 5, 10};
        for (int i = 0; i < count; ++i) {
            quantities[i] = quantity;
            prices[i] = price;
            quantity *= steps[random.below(4)];
            price =
                std::max<std::uint32_t>(10, std::uint32_t(price * (0.85 + 0.12 * random.unit())) / 10 * 10);
        }
        for (int i = 0; i < count; ++i)
            putUInt32(out, quantities[i]);
        for (int i = 0; i < count; ++i)
            putUInt32(out, prices[i]);
    }

    const Kind& kind;
    const std::string& groupKey;
    const std::string& groupName;
    int vatClass;
    Random& random;
    std::size_t next;
};

} // namespace

GeneratedCatalogSize generateCatalog(std::ostream& mainOut, std::ostream& upperOut, std::ostream& groupOut,
                                     std::ostream& articleOut, std::size_t articleCount, std::uint64_t seed) {
    Random random(seed);
    const auto& table = families();
    GeneratedCatalogSize size;
    size.articles = articleCount;
    size.groups = std::max<std::size_t>(
        1, std::min<std::size_t>(8000, std::size_t(std::lround(4.0 * std::sqrt(double(articleCount))))));
    size.upperGroups = std::max<std::size_t>(1, std::size_t(std::lround(double(size.groups) / 8.0)));
    size.mainGroups =
        std::max<std::size_t>(1, std::min<std::size_t>({table.size(), size.upperGroups,
                                                        std::size_t(std::lround(size.upperGroups / 2.0))}));

    const auto uppersPerMain = spread(size.upperGroups, size.mainGroups, 1, random);
    const auto groupsPerUpper = spread(size.groups, size.upperGroups, 1, random);
    const auto articlesPerGroup = spread(articleCount, size.groups, 1, random);

    std::string mains, uppers, groups, articles;
    articles.reserve(std::size_t(1) << 22);
    std::size_t upperIndex = 0, groupIndex = 0;
    for (std::size_t m = 0; m < size.mainGroups; ++m) {
        const Family& family = table[m];
        const std::string mainKey(1, char('A' + m));
        putGroup(mains, mainKey, family.name);
        for (std::size_t u = 0; u < uppersPerMain[m]; ++u, ++upperIndex) {
            const Kind& kind = family.kinds[u % family.kinds.size()];
            const std::string upperKey = mainKey + childKey(u);
            putGroup(uppers, upperKey, repeatedName(kind.upperName, u / family.kinds.size()));
            for (std::size_t g = 0; g < groupsPerUpper[upperIndex]; ++g, ++groupIndex) {
                const std::string groupKey = upperKey + childKey(g);
                const std::string groupName =
                    repeatedName(kind.groupNames[g % kind.groupNames.size()], g / kind.groupNames.size());
                putGroup(groups, groupKey, groupName);
                ArticleMaker maker(kind, groupKey, groupName, family.vatClass, random);
                for (std::size_t a = 0; a < articlesPerGroup[groupIndex]; ++a) {
                    maker.append(articles);
                    if (articles.size() >= (std::size_t(1) << 22)) {
                        articleOut.write(articles.data(), std::streamsize(articles.size()));
                        articles.clear();
                    }
                }
            }
        }
    }
    mainOut.write(mains.data(), std::streamsize(mains.size()));
    upperOut.write(uppers.data(), std::streamsize(uppers.size()));
    groupOut.write(groups.data(), std::streamsize(groups.size()));
    articleOut.write(articles.data(), std::streamsize(articles.size()));
    return size;
}

bool generateCatalog(const std::string& directory, std::size_t articleCount, std::uint64_t seed,
                     GeneratedCatalogSize* size, std::string* error) {
    std::error_code code;
    std::filesystem::create_directories(directory, code);
    const std::filesystem::path dir(directory);
    const char* names[] = {"WGHAUPT", "WGOBER", "WGGRUPPE", "ART"};
    std::ofstream files[4];
    for (int i = 0; i < 4; ++i) {
        files[i].open(dir / names[i], std::ios::out | std::ios::binary | std::ios::trunc);
        if (!files[i]) {
            if (error)
                *error = (dir / names[i]).string() + ": cannot be written";
            return false;
        }
    }
    const GeneratedCatalogSize made =
        generateCatalog(files[0], files[1], files[2], files[3], articleCount, seed);
    for (int i = 0; i < 4; ++i) {
        files[i].close();
        if (!files[i]) {
            if (error)
                *error = (dir / names[i]).string() + ": write failed";
            return false;
        }
    }
    if (size)
        *size = made;
    return true;
}
