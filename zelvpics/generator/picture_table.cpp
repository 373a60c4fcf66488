// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_table.h"

#include <QString>
#include <array>

#include "zelvlib/cp1252.h"

namespace zelvpics {

namespace {

// Everyday things a six-year-old knows, grouped by kind; the game shuffles
// them anyway. American English where the two differ, the words a child
// says rather than an adult's. Each word is the one a child says on seeing
// the picture: a whole rabbit, not its face, is a "Hase" to a child, the
// rooster's whole body shows a "Hahn" where the chicken emoji is only a
// head, a modern train is a "Zug" where a steam engine would be a "Lok", a
// teapot is named as itself where a steaming cup reads as coffee, two
// cherries are "Kirschen", the small orange fruit a "Mandarine", an
// octopus a "Tintenfisch", a school backpack a "Rucksack", and the bulb a
// "Lampe", which no child mixes up with the "Birne" beside it. A rose takes
// the place of the tulip, which children call "Blume" (and so the
// sunflower too), and fries that of the potato, whose picture looked like
// the egg's.
constexpr std::array<PictureEntry, 120> kEntries{{
    // animals
    {U'\U0001F436', "Hund", "dog"},
    {U'\U0001F431', "Katze", "cat"},
    {U'\U0001F42D', "Maus", "mouse"},
    {U'\U0001F407', "Hase", "rabbit"},
    {U'\U0001F98A', "Fuchs", "fox"},
    {U'\U0001F43B', "Bär", "bear"},
    {U'\U0001F43C', "Panda", "panda"},
    {U'\U0001F42F', "Tiger", "tiger"},
    {U'\U0001F981', "Löwe", "lion"},
    {U'\U0001F42E', "Kuh", "cow"},
    {U'\U0001F437', "Schwein", "pig"},
    {U'\U0001F438', "Frosch", "frog"},
    {U'\U0001F435', "Affe", "monkey"},
    {U'\U0001F413', "Hahn", "rooster"},
    {U'\U0001F427', "Pinguin", "penguin"},
    {U'\U0001F424', "Küken", "chick"},
    {U'\U0001F986', "Ente", "duck"},
    {U'\U0001F989', "Eule", "owl"},
    {U'\U0001F434', "Pferd", "horse"},
    {U'\U0001F984', "Einhorn", "unicorn"},
    {U'\U0001F41D', "Biene", "bee"},
    {U'\U0001F98B', "Schmetterling", "butterfly"},
    {U'\U0001F40C', "Schnecke", "snail"},
    {U'\U0001F41E', "Marienkäfer", "ladybug"},
    {U'\U0001F422', "Schildkröte", "turtle"},
    {U'\U0001F40D', "Schlange", "snake"},
    {U'\U0001F419', "Tintenfisch", "octopus"},
    {U'\U0001F41F', "Fisch", "fish"},
    {U'\U0001F433', "Wal", "whale"},
    {U'\U0001F988', "Hai", "shark"},
    {U'\U0001F418', "Elefant", "elephant"},
    {U'\U0001F992', "Giraffe", "giraffe"},
    {U'\U0001F993', "Zebra", "zebra"},
    {U'\U0001F411', "Schaf", "sheep"},
    {U'\U0001F994', "Igel", "hedgehog"},
    {U'\U0001F40A', "Krokodil", "crocodile"},
    {U'\U0001F577', "Spinne", "spider"},
    {U'\U0001F42C', "Delfin", "dolphin"},
    // food
    {U'\U0001F34E', "Apfel", "apple"},
    {U'\U0001F34C', "Banane", "banana"},
    {U'\U0001F353', "Erdbeere", "strawberry"},
    {U'\U0001F352', "Kirschen", "cherries"},
    {U'\U0001F347', "Weintrauben", "grapes"},
    {U'\U0001F350', "Birne", "pear"},
    {U'\U0001F34A', "Mandarine", "orange"},
    {U'\U0001F34B', "Zitrone", "lemon"},
    {U'\U0001F349', "Wassermelone", "watermelon"},
    {U'\U0001F34D', "Ananas", "pineapple"},
    {U'\U0001F955', "Karotte", "carrot"},
    {U'\U0001F966', "Brokkoli", "broccoli"},
    {U'\U0001F344', "Pilz", "mushroom"},
    {U'\U0001F345', "Tomate", "tomato"},
    {U'\U0001F35F', "Pommes", "fries"},
    {U'\U0001F35E', "Brot", "bread"},
    {U'\U0001F9C0', "Käse", "cheese"},
    {U'\U0001F95A', "Ei", "egg"},
    {U'\U0001F355', "Pizza", "pizza"},
    {U'\U0001F366', "Eis", "ice cream"},
    {U'\U0001F370', "Kuchen", "cake"},
    {U'\U0001F36A', "Keks", "cookie"},
    {U'\U0001F36D', "Lutscher", "lollipop"},
    {U'\U0001F95B', "Milch", "milk"},
    {U'\U0001F968', "Brezel", "pretzel"},
    {U'\U0001F36B', "Schokolade", "chocolate"},
    // toys and music
    {U'\u26BD', "Fußball", "soccer ball"},
    {U'\U0001F388', "Luftballon", "balloon"},
    {U'\U0001F9F8', "Teddybär", "teddy bear"},
    {U'\U0001FA81', "Drachen", "kite"},
    {U'\U0001F3B2', "Würfel", "dice"},
    {U'\U0001F941', "Trommel", "drum"},
    {U'\U0001F3B8', "Gitarre", "guitar"},
    {U'\U0001F3BB', "Geige", "violin"},
    {U'\U0001F381', "Geschenk", "present"},
    {U'\U0001F514', "Glocke", "bell"},
    // vehicles
    {U'\U0001F697', "Auto", "car"},
    {U'\U0001F68C', "Bus", "bus"},
    {U'\U0001F686', "Zug", "train"},
    {U'\u2708', "Flugzeug", "plane"},
    {U'\U0001F6B2', "Fahrrad", "bicycle"},
    {U'\U0001F680', "Rakete", "rocket"},
    {U'\U0001F681', "Hubschrauber", "helicopter"},
    {U'\U0001F6A2', "Schiff", "ship"},
    {U'\u26F5', "Segelboot", "sailboat"},
    {U'\U0001F69C', "Traktor", "tractor"},
    {U'\U0001F692', "Feuerwehrauto", "fire truck"},
    {U'\U0001F691', "Krankenwagen", "ambulance"},
    {U'\U0001F693', "Polizeiauto", "police car"},
    {U'\U0001F3CD', "Motorrad", "motorcycle"},
    // at home
    {U'\U0001F511', "Schlüssel", "key"},
    {U'\U0001F56F', "Kerze", "candle"},
    {U'\u23F0', "Wecker", "alarm clock"},
    {U'\u2602', "Regenschirm", "umbrella"},
    {U'\U0001FA91', "Stuhl", "chair"},
    {U'\U0001F6CF', "Bett", "bed"},
    {U'\U0001F45F', "Schuh", "shoe"},
    {U'\U0001F455', "T-Shirt", "T-shirt"},
    {U'\U0001F453', "Brille", "glasses"},
    {U'\u2702', "Schere", "scissors"},
    {U'\u270F', "Bleistift", "pencil"},
    {U'\U0001F4D5', "Buch", "book"},
    {U'\U0001F944', "Löffel", "spoon"},
    {U'\U0001FAD6', "Teekanne", "teapot"},
    {U'\U0001F528', "Hammer", "hammer"},
    {U'\U0001F4A1', "Lampe", "light bulb"},
    {U'\U0001F9E6', "Socken", "socks"},
    {U'\U0001F3E0', "Haus", "house"},
    {U'\U0001F392', "Rucksack", "backpack"},
    // nature
    {U'\u2600', "Sonne", "sun"},
    {U'\U0001F319', "Mond", "moon"},
    {U'\u2B50', "Stern", "star"},
    {U'\u2601', "Wolke", "cloud"},
    {U'\U0001F308', "Regenbogen", "rainbow"},
    {U'\u26C4', "Schneemann", "snowman"},
    {U'\U0001F333', "Baum", "tree"},
    {U'\U0001F33B', "Sonnenblume", "sunflower"},
    {U'\U0001F335', "Kaktus", "cactus"},
    {U'\U0001F525', "Feuer", "fire"},
    {U'\U0001F341', "Blatt", "leaf"},
    {U'\U0001F339', "Rose", "rose"},
    {U'\u2744', "Schneeflocke", "snowflake"},
}};

}  // namespace

std::span<const PictureEntry> PictureTable() {
  return kEntries;
}

QByteArray EncodeWordList(std::span<const PictureEntry> entries) {
  QByteArray bytes;
  for (const PictureEntry& entry : entries) {
    const QString line = QString::fromUtf8(entry.German) + QLatin1Char(';') +
                         QString::fromUtf8(entry.English) + QLatin1Char(':');
    const std::string encoded = zelv::ToWindows1252(line);
    bytes.append(encoded.data(), static_cast<qsizetype>(encoded.size()));
    bytes.append("\r\n");
  }
  return bytes;
}

}  // namespace zelvpics
