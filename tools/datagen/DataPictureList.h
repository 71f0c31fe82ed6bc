// Every picture file that the game names in its data folder, with the size
// and alpha it must have, and the picture descriptions (.ttx). The generator
// makes each entry at exactly this size, the build lists the files from here
// (tools/datagen/CMakeLists.txt reads the lines that start with {"), and the
// data test checks the generated folder against the same table.
#pragma once

enum class DataFormat { Png, Tga, Jpeg };

// Who makes the file: the gardens come with their road data; the rest are
// painted pictures.
enum class DataMaker { Gardens, Pictures };

struct DataPicture {
    const char *file;  // relative to the Data folder
    int width, height;
    // True: the game draws it with alpha, so it must have see-through
    // pixels. False: fully opaque.
    bool alpha;
    DataFormat format;
    DataMaker maker;
    const char *what;
};

const DataFormat PNG = DataFormat::Png, TGA = DataFormat::Tga, JPEG = DataFormat::Jpeg;
const DataMaker GARDENS = DataMaker::Gardens, PAINTED = DataMaker::Pictures;

// clang-format off
inline constexpr DataPicture DATA_PICTURES[] = {
    // Toolkit skin and play hub
    {"1001.dat", 1024, 1024, true, PNG, PAINTED, "toolkit skin atlas \"Buttons\""},
    {"1002.dat", 256, 256, true, PNG, PAINTED, "toolkit texture \"Popup\""},
    {"1010.dat", 64, 64, true, PNG, PAINTED, "pointer"},
    {"1011.dat", 64, 64, true, PNG, PAINTED, "pointer: cannot place here"},
    {"1012.dat", 512, 512, true, PNG, PAINTED, "range circle"},
    {"1013.dat", 128, 128, true, PNG, PAINTED, "level markers, 2 x 2"},
    {"1014.dat", 64, 16, true, PNG, PAINTED, "health-bar frame"},
    {"1015.dat", 64, 16, false, PNG, PAINTED, "health-bar fill"},
    {"1016.dat", 256, 1024, false, PNG, PAINTED, "sidebar"},
    {"1017.dat", 140, 160, false, PNG, PAINTED, "sidebar button background"},
    {"1018.dat", 140, 160, true, PNG, PAINTED, "locked overlay"},
    {"1019.dat", 512, 512, true, PNG, PAINTED, "game won"},
    {"1020.dat", 1024, 48, false, PNG, PAINTED, "bottom bar"},
    {"1022.dat", 512, 128, true, PNG, PAINTED, "title text (HiveWatcherText.png)"},
    {"1023.dat", 512, 512, true, PNG, PAINTED, "explosion, 4 x 4 frames"},
    {"1024.dat", 128, 128, true, PNG, PAINTED, "tutorial hint frame"},
    // Gardens
    {"1100.dat", 1024, 1024, false, PNG, GARDENS, "garden 0"},
    {"1101.dat", 1024, 1024, false, PNG, GARDENS, "garden 1"},
    {"1102.dat", 1024, 1024, false, PNG, GARDENS, "garden 2"},
    {"1103.dat", 1024, 1024, false, PNG, GARDENS, "garden 3"},
    // Bugs, in kind order, each with its second frame
    {"Bugs/Aclypea.tga", 256, 256, true, TGA, PAINTED, "Aclypea"},
    {"Bugs/Aclypea2.tga", 256, 256, true, TGA, PAINTED, "Aclypea, frame 2"},
    {"Bugs/Adonia.tga", 256, 256, true, TGA, PAINTED, "Adonia"},
    {"Bugs/Adonia2.tga", 256, 256, true, TGA, PAINTED, "Adonia, frame 2"},
    {"Bugs/Altholus.tga", 256, 256, true, TGA, PAINTED, "Altholus"},
    {"Bugs/Altholus2.tga", 256, 256, true, TGA, PAINTED, "Altholus, frame 2"},
    {"Bugs/Badister.tga", 256, 256, true, TGA, PAINTED, "Badister"},
    {"Bugs/Badister2.tga", 256, 256, true, TGA, PAINTED, "Badister, frame 2"},
    {"Bugs/Baeocrara.tga", 256, 256, true, TGA, PAINTED, "Baeocrara"},
    {"Bugs/Baeocrara2.tga", 256, 256, true, TGA, PAINTED, "Baeocrara, frame 2"},
    {"Bugs/Byctiscus.tga", 256, 256, true, TGA, PAINTED, "Byctiscus"},
    {"Bugs/Byctiscus2.tga", 256, 256, true, TGA, PAINTED, "Byctiscus, frame 2"},
    {"Bugs/Crepidodera.tga", 256, 256, true, TGA, PAINTED, "Crepidodera"},
    {"Bugs/Crepidodera2.tga", 256, 256, true, TGA, PAINTED, "Crepidodera, frame 2"},
    {"Bugs/Gaurotes.tga", 256, 256, true, TGA, PAINTED, "Gaurotes"},
    {"Bugs/Gaurotes2.tga", 256, 256, true, TGA, PAINTED, "Gaurotes, frame 2"},
    {"Bugs/Gnatocerus.tga", 256, 256, true, TGA, PAINTED, "Gnatocerus"},
    {"Bugs/Gnatocerus2.tga", 256, 256, true, TGA, PAINTED, "Gnatocerus, frame 2"},
    {"Bugs/Gibbium.tga", 256, 256, true, TGA, PAINTED, "Gibbium"},
    {"Bugs/Gibbium2.tga", 256, 256, true, TGA, PAINTED, "Gibbium, frame 2"},
    {"Bugs/Glischrochilus.tga", 256, 256, true, TGA, PAINTED, "Glischrochilus"},
    {"Bugs/Glischrochilus2.tga", 256, 256, true, TGA, PAINTED, "Glischrochilus, frame 2"},
    // Weapons: base and turret pictures, barrels to the image top
    {"1300.dat", 128, 128, true, PNG, PAINTED, "Turret base"},
    {"1301.dat", 128, 128, true, PNG, PAINTED, "Turret turret"},
    {"1302.dat", 128, 128, true, PNG, PAINTED, "Cannon base"},
    {"1303.dat", 128, 128, true, PNG, PAINTED, "Cannon turret"},
    {"1304.dat", 128, 128, true, PNG, PAINTED, "Tank hull"},
    {"1305.dat", 128, 128, true, PNG, PAINTED, "Tank turret"},
    {"1310.dat", 128, 128, true, PNG, PAINTED, "Small Spray"},
    {"1311.dat", 128, 128, true, PNG, PAINTED, "Medium Spray"},
    {"1312.dat", 128, 128, true, PNG, PAINTED, "Big Spray"},
    {"1320.dat", 128, 128, true, PNG, PAINTED, "Stone Thrower base"},
    {"1321.dat", 128, 128, true, PNG, PAINTED, "Stone Thrower arm"},
    {"1322.dat", 128, 128, true, PNG, PAINTED, "Grenade Launcher base"},
    {"1323.dat", 128, 128, true, PNG, PAINTED, "Grenade Launcher tube"},
    {"1324.dat", 128, 128, true, PNG, PAINTED, "Missile Launcher base"},
    {"1325.dat", 128, 128, true, PNG, PAINTED, "Missile Launcher rack"},
    // Shots
    {"1350.dat", 64, 64, true, PNG, PAINTED, "Turret bullet"},
    {"1351.dat", 64, 64, true, PNG, PAINTED, "Cannon shell"},
    {"1352.dat", 64, 64, true, PNG, PAINTED, "Tank shell"},
    {"1360.dat", 256, 256, true, PNG, PAINTED, "Small Spray cloud"},
    {"1361.dat", 256, 256, true, PNG, PAINTED, "Medium Spray cloud"},
    {"1362.dat", 256, 256, true, PNG, PAINTED, "Big Spray cloud"},
    {"1370.dat", 64, 64, true, PNG, PAINTED, "stone"},
    {"1371.dat", 64, 64, true, PNG, PAINTED, "grenade"},
    {"1372.dat", 128, 128, true, PNG, PAINTED, "missile"},
    {"1380.dat", 128, 128, false, PNG, PAINTED, "factory background"},
    {"1390.dat", 1024, 720, true, PNG, PAINTED, "game over"},
    // Cursor, splash and module pictures
    {"1600.dat", 64, 64, true, PNG, PAINTED, "texture cursor"},
    {"1612.dat", 256, 256, true, PNG, PAINTED, "ring emblem (LichenRing.png)"},
    {"1613.dat", 512, 128, true, PNG, PAINTED, "maker's name (LwText.png)"},
    {"1614.dat", 256, 256, true, PNG, PAINTED, "glow and sparkles (TexEffects1.png)"},
    {"1615.dat", 1024, 768, false, JPEG, PAINTED, "menu background (MenuBg.jpg)"},
    // Common pictures
    {"Common/CountryFlags512.png", 512, 512, true, PNG, PAINTED, "country flags, 16 x 16"},
    {"Common/CountryFlags1024.png", 1024, 1024, true, PNG, PAINTED, "country flags, 16 x 16, large"},
    {"Common/Platform.png", 256, 256, true, PNG, PAINTED, "platform icons, 4 x 4"},
    {"Common/StartupBanner.png", 512, 128, false, PNG, PAINTED, "start-up settings dialog banner"},
    // Cross-promotion screenshots of the maker's other titles
    {"IGA/Lanternfly1.jpg", 256, 256, false, JPEG, PAINTED, "other title: Lanternfly, screenshot 1"},
    {"IGA/Lanternfly2.jpg", 256, 256, false, JPEG, PAINTED, "other title: Lanternfly, screenshot 2"},
    {"IGA/PebbleCove1.jpg", 256, 256, false, JPEG, PAINTED, "other title: PebbleCove, screenshot 1"},
    {"IGA/PebbleCove2.jpg", 256, 256, false, JPEG, PAINTED, "other title: PebbleCove, screenshot 2"},
    {"IGA/Gloamwood1.jpg", 256, 256, false, JPEG, PAINTED, "other title: Gloamwood, screenshot 1"},
    {"IGA/Gloamwood2.jpg", 256, 256, false, JPEG, PAINTED, "other title: Gloamwood, screenshot 2"},
    {"IGA/SporeDrift1.jpg", 256, 256, false, JPEG, PAINTED, "other title: SporeDrift, screenshot 1"},
    {"IGA/SporeDrift2.jpg", 256, 256, false, JPEG, PAINTED, "other title: SporeDrift, screenshot 2"},
    {"IGA/FernCastle1.jpg", 256, 256, false, JPEG, PAINTED, "other title: FernCastle, screenshot 1"},
    {"IGA/FernCastle2.jpg", 256, 256, false, JPEG, PAINTED, "other title: FernCastle, screenshot 2"},
    {"IGA/DewRunner1.jpg", 256, 256, false, JPEG, PAINTED, "other title: DewRunner, screenshot 1"},
    {"IGA/DewRunner2.jpg", 256, 256, false, JPEG, PAINTED, "other title: DewRunner, screenshot 2"},
    {"IGA/Thistledown1.jpg", 256, 256, false, JPEG, PAINTED, "other title: Thistledown, screenshot 1"},
    {"IGA/Thistledown2.jpg", 256, 256, false, JPEG, PAINTED, "other title: Thistledown, screenshot 2"},
    {"IGA/MireLights1.jpg", 256, 256, false, JPEG, PAINTED, "other title: MireLights, screenshot 1"},
    {"IGA/MireLights2.jpg", 256, 256, false, JPEG, PAINTED, "other title: MireLights, screenshot 2"},
    {"IGA/BrambleRush1.jpg", 256, 256, false, JPEG, PAINTED, "other title: BrambleRush, screenshot 1"},
    {"IGA/BrambleRush2.jpg", 256, 256, false, JPEG, PAINTED, "other title: BrambleRush, screenshot 2"},
    {"IGA/RootQuest1.jpg", 256, 256, false, JPEG, PAINTED, "other title: RootQuest, screenshot 1"},
    {"IGA/RootQuest2.jpg", 256, 256, false, JPEG, PAINTED, "other title: RootQuest, screenshot 2"},
    {"IGA/PuddleJump1.jpg", 256, 256, false, JPEG, PAINTED, "other title: PuddleJump, screenshot 1"},
    {"IGA/PuddleJump2.jpg", 256, 256, false, JPEG, PAINTED, "other title: PuddleJump, screenshot 2"},
    {"IGA/Tarnwick1.jpg", 256, 256, false, JPEG, PAINTED, "other title: Tarnwick, screenshot 1"},
    {"IGA/Tarnwick2.jpg", 256, 256, false, JPEG, PAINTED, "other title: Tarnwick, screenshot 2"},
};

// Picture descriptions: the .ttx JSON written by hand under data/ and
// copied into the Data folder.
struct DataDescription {
    const char *file;    // relative to the Data folder
    const char *source;  // relative to the data sources folder
};

inline constexpr DataDescription DATA_DESCRIPTIONS[] = {
    {"1021.dat", "pictures/title.ttx"},
    {"1610.dat", "pictures/splash.ttx"},
    {"1611.dat", "pictures/logo.ttx"},
};

// The texture names a description may use, and the files the game's
// texture hooks give for them. "Misc.png" is known to the hooks too, but
// this game supplies no file for it.
struct DataTextureName {
    const char *name;
    const char *file;  // relative to the Data folder
};

inline constexpr DataTextureName DATA_TEXTURE_NAMES[] = {
    {"LichenRing.png", "1612.dat"},
    {"LwText.png", "1613.dat"},
    {"TexEffects1.png", "1614.dat"},
    {"MenuBg.jpg", "1615.dat"},
    {"HiveWatcherText.png", "1022.dat"},
};
// clang-format on
