// Every look-and-sound parameter of the generated content lives here, so the whole game can be
// re-themed by editing this one file: colours, icon geometry, sound recipes, tempos and notes,
// output folders and catalogue names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ContentBuilder::Theme {

// ---------------------------------------------------------------------------------------------
// Palette (sRGB)
// ---------------------------------------------------------------------------------------------
struct Rgb {
    uint8_t r, g, b;
};

inline constexpr Rgb kPaper{0xF4, 0xEF, 0xE6};
inline constexpr Rgb kPaperLight{0xFB, 0xF8, 0xF2};
inline constexpr Rgb kPaperDark{0xE8, 0xE0, 0xD2};
inline constexpr Rgb kInk{0x2E, 0x3A, 0x59};
inline constexpr Rgb kGridThin{0xC9, 0xBF, 0xAF};
inline constexpr Rgb kGridHeavy{0x8F, 0x84, 0x73};
inline constexpr Rgb kCross{0xC8, 0x55, 0x3D};
// Solved clues fade to a warm grey that still reads on the darker band (contrast above 3:1).
inline constexpr Rgb kSolvedClue{0x81, 0x78, 0x69};
inline constexpr Rgb kAccent{0x3E, 0x8E, 0x7E};
inline constexpr Rgb kAccentHover{0x4F, 0xA5, 0x92};
inline constexpr Rgb kAccentPressed{0x2F, 0x6F, 0x62};
inline constexpr Rgb kAccentDisabled{0xB8, 0xB2, 0xA7};
inline constexpr Rgb kReward{0xF2, 0xC1, 0x4E};
inline constexpr Rgb kRewardOutline{0xC9, 0x96, 0x2B};
inline constexpr Rgb kError{0xD1, 0x49, 0x5B};
inline constexpr Rgb kTextOnAccent{0xFF, 0xFF, 0xFF};

// ---------------------------------------------------------------------------------------------
// Window icon: a rounded paper tile with a small ink nonogram. Geometry is in fractions of the
// icon's side so one drawing serves every size.
// ---------------------------------------------------------------------------------------------
struct IconTheme {
    std::array<int, 2> sizes{32, 16};  // written as icons/quorvel-<size>.png
    float tileMargin = 0.03f;          // gap between the icon edge and the tile
    float tileRadius = 0.22f;          // tile corner radius
    float borderWidth = 0.055f;        // tile outline (drawn in kGridHeavy)
    float patternInset = 0.19f;        // distance from the icon edge to the 3x3 pattern
    float cellGap = 0.045f;            // space between pattern cells
    float cellRadius = 0.035f;         // corner radius of a filled cell
    // Rows top to bottom; '#' is a filled ink cell, '.' an empty one.
    std::array<std::string_view, 3> pattern{"#.#", "###", ".#."};
    int supersampling = 8;    // sub-samples per pixel side for anti-aliasing
    int pixelSnapBelow = 24;  // smaller icons snap edges to whole pixels (crisper)
};
inline constexpr IconTheme kIcon{};

// Colour as the engine's XML reads it: 32-bit AARRGGBB.
constexpr uint32_t Argb(Rgb c, uint8_t alpha) {
    return (uint32_t{alpha} << 24) | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | uint32_t{c.b};
}

// A soft drop shadow: the shape's silhouette moved by the offset, blurred (Gaussian) and painted
// in the colour at the given opacity under the shape.
struct SoftShadow {
    float offsetX, offsetY;
    float sigma;  // blur in pixels; the shadow reaches about 3 sigma beyond the shape
    float alpha;
    Rgb colour;
};

// ---------------------------------------------------------------------------------------------
// Sound
// ---------------------------------------------------------------------------------------------
inline constexpr int kSampleRate = 44100;
// Each effect is normalised to its own peak (fraction of full scale): lighter sounds sit lower.
struct EffectPeaks {
    float levelShow = 0.50f, fullTile = 0.75f, emptyTile = 0.55f, error = 0.80f;
    float win = 0.70f, lose = 0.65f, hint = 0.60f;
};
inline constexpr EffectPeaks kEffectPeaks{};
inline constexpr float kMusicPeak = 0.45f;     // music is mixed low under the effects
inline constexpr float kEffectQuality = 0.5f;  // libvorbisenc VBR quality (-0.1 .. 1.0)
inline constexpr float kMusicQuality = 0.3f;
inline constexpr float kClipLimit = 0.98f;         // a decoded sample at or above this counts as clipping
inline constexpr uint32_t kNoiseSeed = 0x51A7E5u;  // noise and humanising are seeded: builds repeat

// A struck wooden or plastic body: a few decaying partials plus a short noise click.
struct TickRecipe {
    float baseHz;
    std::array<float, 3> partialRatios;
    std::array<float, 3> partialGains;
    float decaySeconds;  // time constant of the partials
    float clickGain;     // noise transient level
    float clickSeconds;  // noise transient time constant
    float clickLowpassHz;
    float lengthSeconds;
};
inline constexpr TickRecipe kFullTile{
    420.0f, {1.0f, 2.57f, 4.53f}, {1.0f, 0.45f, 0.18f}, 0.030f, 0.35f, 0.004f, 3500.0f, 0.16f};
inline constexpr TickRecipe kEmptyTile{
    880.0f, {1.0f, 2.41f, 3.93f}, {0.8f, 0.30f, 0.10f}, 0.018f, 0.25f, 0.003f, 5000.0f, 0.10f};

// A low muted thud: a sine that drops in pitch, with a dull noise body.
struct ThudRecipe {
    float startHz, endHz, pitchDropSeconds, decaySeconds, noiseGain, noiseLowpassHz, lengthSeconds;
};
inline constexpr ThudRecipe kErrorThud{150.0f, 62.0f, 0.06f, 0.09f, 0.30f, 400.0f, 0.35f};

// Bell-like notes (a sine with a soft inharmonic overtone) played one after another.
struct ChimeRecipe {
    std::string_view notes;  // note names, see NoteToHz
    float spacingSeconds;    // onset distance between notes
    float decaySeconds;      // time constant of each note
    float overtoneRatio, overtoneGain, overtoneDecayFactor;
    float tailSeconds;  // length after the last onset
};
inline constexpr ChimeRecipe kHintChime{"E6 B6", 0.11f, 0.32f, 2.76f, 0.22f, 0.35f, 0.9f};
inline constexpr ChimeRecipe kWinArpeggio{"C5 E5 G5 C6 E6", 0.105f, 0.45f, 3.0f, 0.18f, 0.4f, 1.3f};

// A softer, falling line in a warmer (triangle-ish) voice.
struct FallRecipe {
    std::string_view notes;
    float spacingSeconds, decaySeconds, lowpassHz, tailSeconds;
};
inline constexpr FallRecipe kLoseFall{"G4 D#4 C4 G3", 0.19f, 0.40f, 1800.0f, 1.1f};

// The board appears: a gentle swelling fifth with a breath of filtered noise.
struct SwellRecipe {
    std::string_view notes;
    float attackSeconds, releaseSeconds, lengthSeconds, noiseGain, noiseLowpassHz;
};
inline constexpr SwellRecipe kLevelShow{"G4 D5", 0.22f, 0.45f, 0.85f, 0.12f, 1200.0f};

// ---------------------------------------------------------------------------------------------
// Music: a pentatonic melody over soft pads. Bars are separated by '|'. Melody tokens are
// "<note>:<beats>" or "r:<beats>" (rest); chord tokens are note names held for the whole bar.
// ---------------------------------------------------------------------------------------------
struct MusicPiece {
    std::string_view name;  // catalogue name, sorts the playlist ("01", "02", ...)
    std::string_view file;  // file name in the music folder
    float bpm;
    int beatsPerBar;
    std::string_view melody;
    std::string_view chords;
    float melodyGain, padGain, bassGain;
    float padCutoffHz;  // pads are low-passed to stay soft
    float echoSeconds, echoFeedback, echoMix;
    float tailSeconds;  // ring-out after the last bar
    uint32_t seed;      // humanising (tiny timing and level variations)
};

// The instruments every piece shares. Harmonic amplitudes start at the fundamental.
struct MusicVoices {
    std::array<float, 6> padHarmonics{1.0f, 0.42f, 0.22f, 0.13f, 0.08f, 0.05f};
    float padAttackSeconds = 0.9f, padReleaseSeconds = 1.6f, padDetuneCents = 7.0f, padSpread = 0.6f;
    std::array<float, 3> bassHarmonics{1.0f, 0.25f, 0.06f};
    float bassAttackSeconds = 0.06f, bassReleaseSeconds = 0.8f;
    std::array<float, 4> leadHarmonics{1.0f, 0.22f, 0.07f, 0.02f};
    float leadAttackSeconds = 0.02f, leadReleaseSeconds = 0.35f, leadPan = 0.1f;
    float vibratoHz = 5.0f, vibratoDepth = 0.0018f, vibratoDelaySeconds = 0.3f;
    float timingJitterSeconds = 0.008f, levelJitter = 0.08f;
    float echoDarkHz = 2500.0f;
    float fadeInSeconds = 0.05f, fadeOutSeconds = 0.04f;
};
inline constexpr MusicVoices kVoices{};

inline constexpr std::array<MusicPiece, 2> kMusic{{
    {"01", "01_paper_morning.ogg", 72.0f, 4,
     "E5:1 G5:1 A5:2 | G5:1 E5:1 D5:2 | C5:1 D5:1 E5:1 G5:1 | D5:4 |"
     "E5:1 G5:1 A5:1 C6:1 | A5:2 G5:2 | E5:1 D5:1 C5:1 D5:1 | C5:4",
     "C3 G3 D4 E4 | A2 E3 G3 C4 | F2 C3 G3 A3 | G2 D3 C4 D4 |"
     "C3 G3 D4 E4 | E3 B3 D4 G4 | F2 C3 G3 A3 | C3 G3 D4 E4",
     0.55f, 0.30f, 0.22f, 1400.0f, 0.42f, 0.35f, 0.22f, 3.0f, 0x0102u},
    {"02", "02_quiet_ink.ogg", 62.0f, 4,
     "A4:1.5 C5:0.5 E5:2 | D5:1 C5:1 A4:2 | G4:1 A4:1 C5:1 E5:1 | D5:3 r:1 |"
     "E5:1.5 G5:0.5 A5:2 | G5:1 E5:1 D5:2 | C5:1 D5:1 E5:1 C5:1 | A4:4",
     "A2 E3 G3 C4 | F2 C3 E3 A3 | C3 G3 D4 E4 | G2 D3 E3 B3 |"
     "A2 E3 G3 C4 | D3 A3 C4 F4 | F2 C3 E3 A3 | A2 E3 B3 C4",
     0.50f, 0.32f, 0.22f, 1200.0f, 0.48f, 0.38f, 0.25f, 3.5f, 0x0203u},
}};

// ---------------------------------------------------------------------------------------------
// Where things go below <run>/Resources and what the catalogues call them
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kSoundFolder = "data/share/sound";
inline constexpr std::string_view kMusicFolder = "data/share/music";
inline constexpr std::string_view kCatalogueFolder = "data/share/main/other";
inline constexpr std::string_view kSoundCatalogue = "sound.xml";
inline constexpr std::string_view kMusicGroup = "music";
inline constexpr std::string_view kEffectsGroup = "sounds";
inline constexpr int kMusicBufferCount = 2;
inline constexpr int kEffectBufferCount = 1;

inline constexpr std::string_view kStringsSource = "strings/en.txt";  // below content/
inline constexpr std::string_view kStringsFolder = "data/en";
inline constexpr std::string_view kStringsFile = "strings.xml";
inline constexpr std::string_view kStringsSheetName = "en";

// Zip repository: every file below the source folder becomes a member; members are encrypted
// with the game's archive password unless listed as plain.
inline constexpr std::string_view kZipPassword = "MarrowindByPeltane";
inline constexpr std::string_view kSampleArchiveSource = "archives/sample";  // below content/
inline constexpr std::string_view kSampleArchive = "data/share/sample.zip";
inline constexpr std::array<std::string_view, 1> kSampleArchivePlainMembers{"readme.txt"};

// ---------------------------------------------------------------------------------------------
// Sprites, animations, the panel frame and particles for tests and the visual check. Every file
// goes to one folder repository; the descriptions name textures by resource key.
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kTestFolder = "data/share/test";
inline constexpr std::string_view kSpriteDescriptions = "sprites.xml";
inline constexpr std::string_view kCursorDescription = "cursor.xml";
inline constexpr std::string_view kAnimationDescriptions = "animations.xml";
inline constexpr std::string_view kPanelDescription = "panel.xml";
inline constexpr std::string_view kParticleDescriptions = "particles.xml";

// Plain shapes with solid insides, so a screenshot can be checked pixel by pixel.
struct TestTextureTheme {
    int squareSide = 64;  // square_ink.png: an ink rounded square
    float squareRadius = 8.0f;
    int barWidth = 96, barHeight = 32;  // bar_accent.png: an accent bar with a reward dot at its right end
    float barRadius = 10.0f;
    float barDotRadius = 6.0f, barDotInset = 16.0f;  // dot centre: this far from the right end
    int discSide = 48;                               // disc_reward.png: a reward disc with an outline
    float discOutline = 3.0f;
    int splitWidth = 64, splitHeight = 32;  // split.png: left half kCross, right half kAccent
    int whiteSide = 16;                     // white.png: opaque white, for tinting by COLOR
    int cursorSide = 32;                    // cursor.png: an ink arrow with a white outline, tip at (1, 1)
    float cursorOutline = 1.5f;
};
inline constexpr TestTextureTheme kTestTextures{};

// One sprite description of sprites.xml; the element name is how tests find it. Empty texts
// leave their key out.
struct TestSprite {
    std::string_view element;
    std::string_view texture;  // a file of the test folder
    bool textureAttribute;     // name the texture by the "TEXTURE" attribute instead of "FILE"
    std::string_view hotSpot, pos, transform, size, color, texel;
};
inline constexpr std::array<TestSprite, 5> kTestSprites{{
    {"corner", "square_ink.png", false, "HS_UL", "40 40", "", "", "", ""},
    {"badge", "disc_reward.png", true, "HS_MID", "300 90", "", "", "", ""},
    // Rotated by a quarter of pi and scaled 1.5 about its centre at (200, 260).
    {"spinner", "bar_accent.png", false, "HS_MID", "", "200 260 0 0 0 0 0 0 0.7853982 1.5 1.5 1", "", "", ""},
    // White stretched to 120 x 40 and tinted with the error colour; its lower right at (620, 420).
    {"tinted", "white.png", false, "HS_DR", "620 420", "", "120 40", "255 209 73 91", ""},
    // Only the right (accent) half of split.png, drawn 32 x 32.
    {"half", "split.png", false, "HS_ML", "420 300", "", "32 32", "", "0.5 0 1 1"},
}};

// Frame-animation sheets: frames row by row in equal cells; every shape keeps a transparent
// border of at least one pixel inside its cell, so filtering never mixes neighbouring frames.
struct StarPopTheme {
    std::string_view file = "star_pop.png";
    int cell = 64, columns = 4, rows = 2;
    // Scale and turn of the star per frame: it grows, overshoots a little and settles.
    std::array<float, 8> scale{0.20f, 0.50f, 0.85f, 1.12f, 1.20f, 1.08f, 0.97f, 1.00f};
    std::array<float, 8> turnDegrees{-36.0f, -24.0f, -12.0f, -4.0f, 0.0f, 2.0f, 0.0f, 0.0f};
    float outerRadius = 24.0f, innerRatio = 0.47f, outline = 2.5f;
    float glintRadius = 0.22f, glintAlpha = 0.45f;  // a pale spot up left, radius as part of the star's
    float fps = 24.0f;
};
inline constexpr StarPopTheme kStarPop{};

struct CoinSpinTheme {
    std::string_view file = "coin_spin.png";
    int cell = 48, columns = 8, rows = 1;
    // Frames show half a turn (a coin looks the same from both sides), so the loop is seamless.
    float radius = 20.0f, rim = 3.0f, ringRadius = 0.6f, ringWidth = 1.5f, thickness = 3.0f;
    float fps = 12.0f;
};
inline constexpr CoinSpinTheme kCoinSpin{};

// The rounded panel as a nine-part frame: the panel is drawn once, large enough for straight
// edges, and cut into four corners, four edge strips and a middle.
struct PanelTheme {
    float radius = 12.0f;
    Rgb fill = kPaperLight;
    float borderWidth = 1.0f;
    Rgb border = kPaperDark;
    SoftShadow shadow{0.0f, 3.0f, 3.0f, 0.28f, kInk};
    int strip = 4;  // thickness of the edge strips and side of the middle (they are stretched)
};
inline constexpr PanelTheme kPanel{};

// The frame reader hands its nine attributes, in the order below, to the places upper-left
// corner, upper edge, upper-right corner, right edge, lower-right corner, lower edge, lower-left
// corner, left edge, middle. So "lt" names the right edge, "mid" the lower-right corner, "rt" the
// lower edge, "dn" the left edge and "dr" the middle: the files are named after their places.
struct FramePlace {
    std::string_view attribute;
    std::string_view file;
};
inline constexpr std::array<FramePlace, 9> kPanelPlaces{{
    {"ul", "panel_corner_ul.png"},
    {"up", "panel_edge_up.png"},
    {"ur", "panel_corner_ur.png"},
    {"lt", "panel_edge_right.png"},
    {"mid", "panel_corner_dr.png"},
    {"rt", "panel_edge_down.png"},
    {"dl", "panel_corner_dl.png"},
    {"dn", "panel_edge_left.png"},
    {"dr", "panel_middle.png"},
}};

// Particles are soft round dots (white, tinted by their colours) in the reward or accent colour.
inline constexpr std::string_view kSoftDotFile = "soft_dot.png";
inline constexpr int kSoftDotSide = 32;

struct ParticleRecipe {
    std::string_view element;  // element name in particles.xml
    bool additive;             // written as "multiply"
    int maxCount;
    float spreadAngle;          // radians
    float frequency;            // particles per second (at most one per update)
    std::string_view gravity;   // "x y", pixels per second squared, y down
    std::string_view area;      // "r" disc or "w h" rectangle around the screen centre; empty: none
    float lifetime;             // seconds
    std::string_view velocity;  // "x y", pixels per second
    float tangent, radial, startSize, endSize;
    uint32_t startColor, averColor, endColor;  // AARRGGBB
};
inline constexpr std::array<ParticleRecipe, 2> kParticles{{
    // Gold sparks rising from a disc around the screen centre.
    {"sparkle", false, 200, 6.2831853f, 40.0f, "0 40", "36", 1.1f, "0 -70", 30.0f, 0.0f, 18.0f, 4.0f,
     Argb(kReward, 0xFF), Argb(kReward, 0xD0), Argb(kRewardOutline, 0x00)},
    // A short accent trail for an emitter that follows an object (no area).
    {"trail", false, 120, 1.0f, 30.0f, "0 0", "", 0.8f, "0 -40", 0.0f, -20.0f, 12.0f, 2.0f, Argb(kAccent, 0xFF),
     Argb(kAccentHover, 0xB0), Argb(kAccentHover, 0x00)},
}};

// ---------------------------------------------------------------------------------------------
// Fonts: glyphs rasterised from Debian's font packages into one atlas per font, with a font
// description and the catalogue "fonts.xml". Sizes are em sizes in pixels.
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kFontFolder = "data/share/font";
inline constexpr std::string_view kFontCatalogue = "fonts.xml";

struct FontRecipe {
    std::string_view name;          // catalogue name; also the atlas <name>.png and description <name>.xml
    std::string_view face;          // written as the description's face
    std::string_view file;          // TrueType file
    std::string_view fallbackFace;  // used, with a warning, when the file is missing
    std::string_view fallbackFile;
    int pixelSize;
    bool shadow;         // bake kTitleShadow into every glyph
    bool tabularDigits;  // every digit advances alike and digits are never kerned
};

inline constexpr std::string_view kComfortaaBold = "/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf";
inline constexpr std::string_view kLatoRegular = "/usr/share/fonts/truetype/lato/Lato-Regular.ttf";
inline constexpr std::string_view kLatoBold = "/usr/share/fonts/truetype/lato/Lato-Bold.ttf";
inline constexpr std::string_view kLatoBlack = "/usr/share/fonts/truetype/lato/Lato-Black.ttf";
inline constexpr std::string_view kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr std::string_view kDejaVuSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

inline constexpr std::array<FontRecipe, 8> kFonts{{
    {"title48", "Comfortaa Bold", kComfortaaBold, "DejaVu Sans Bold", kDejaVuSansBold, 48, true, false},
    {"title32", "Comfortaa Bold", kComfortaaBold, "DejaVu Sans Bold", kDejaVuSansBold, 32, true, false},
    {"body18", "Lato Regular", kLatoRegular, "DejaVu Sans", kDejaVuSans, 18, false, false},
    {"bold22", "Lato Bold", kLatoBold, "DejaVu Sans Bold", kDejaVuSansBold, 22, false, false},
    {"clue18", "Lato Black", kLatoBlack, "DejaVu Sans Bold", kDejaVuSansBold, 18, false, true},
    {"clue14", "Lato Black", kLatoBlack, "DejaVu Sans Bold", kDejaVuSansBold, 14, false, true},
    // The board's clues: digits at least 16 px tall up to 15 x 15 boards, 13 px on the largest.
    {"clue23", "Lato Black", kLatoBlack, "DejaVu Sans Bold", kDejaVuSansBold, 23, false, true},
    {"clue19", "Lato Black", kLatoBlack, "DejaVu Sans Bold", kDejaVuSansBold, 19, false, true},
}};

// Glyphs are white (the text colour tints them); the title shadow is ink and shows darker under
// whatever colour the text is drawn in.
inline constexpr SoftShadow kTitleShadow{1.0f, 2.0f, 1.0f, 0.40f, kInk};
inline constexpr int kGlyphSpacing = 2;  // transparent pixels between glyph boxes and at the atlas edge
inline constexpr int kMinAtlasSide = 64;
inline constexpr int kMaxAtlasSide = 2048;

// ---------------------------------------------------------------------------------------------
// GUI widgets: strips, switch, sliders, bars, page marks, nine-patch pieces, line box, list box
// and the GUI fonts, all in one folder repository. Every frame of a strip keeps a transparent
// gutter inside its cell, so bilinear filtering never mixes in the neighbouring frame.
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kGuiFolder = "data/share/gui";
inline constexpr int kGuiGutter = 2;  // transparent pixels inside every frame's border

// A raised body: its colour runs from lighter at the top to darker at the bottom.
struct Gradient {
    float topLighten = 0.10f;    // the top mixes in this much white
    float bottomDarken = 0.08f;  // the bottom mixes in this much ink
};

// Push buttons: five frames normal, hovered (lighter), pressed (darker, 2 px down), checked,
// disabled. The frame is the body plus room for the shadow plus the gutter.
struct ButtonTheme {
    float radius = 12.0f;
    Gradient gradient{};
    SoftShadow shadow{0.0f, 3.0f, 1.5f, 0.30f, kInk};
    float pressShift = 2.0f;  // the pressed body moves down; its shadow shortens by as much
    Rgb normal = kAccent, hovered = kAccentHover, pressed = kAccentPressed, checked = kAccentPressed,
        disabled = kAccentDisabled;
    float checkedRingWidth = 2.0f, checkedRingAlpha = 0.45f;  // a pale inner ring marks "checked"
    Rgb checkedRing = kTextOnAccent;
    float disabledShadowAlpha = 0.10f;
    // Chevrons of the page buttons, in fractions of the body: tip and the two arm ends.
    float chevronTipX = 0.38f, chevronArmX = 0.60f, chevronArmY = 0.24f;
    float chevronStroke = 4.0f;
    Rgb glyph = kTextOnAccent;
    float disabledGlyphAlpha = 0.85f;
};
inline constexpr ButtonTheme kButton{};

enum class ButtonGlyph { kNone, kChevronLeft, kChevronRight };
struct ButtonStrip {
    std::string_view file;
    int bodyWidth, bodyHeight;
    ButtonGlyph glyph;
};
inline constexpr std::array<ButtonStrip, 4> kButtonStrips{{
    {"button_wide.png", 200, 52, ButtonGlyph::kNone},       // menus and dialogs (text from a label)
    {"button_small.png", 120, 44, ButtonGlyph::kNone},      // OK / Cancel and side buttons
    {"page_prev.png", 44, 44, ButtonGlyph::kChevronLeft},   // page indicator: previous page
    {"page_next.png", 44, 44, ButtonGlyph::kChevronRight},  // page indicator: next page
}};

// Check box: five frames box, box hovered, box pressed, check mark (alone, drawn over 0..2),
// unused (a disabled box).
struct CheckBoxTheme {
    std::string_view file = "checkbox.png";
    int box = 28;
    float radius = 6.0f, border = 2.0f;
    Rgb fill = kPaperLight, edge = kGridHeavy;
    Rgb hoveredEdge = kAccentHover;
    Rgb pressedFill = kPaperDark, pressedEdge = kAccentPressed;
    Rgb disabledFill = kPaperDark, disabledEdge = kAccentDisabled;
    SoftShadow shadow{0.0f, 1.0f, 1.0f, 0.18f, kInk};
    // The tick: three points in fractions of the box (left end, bottom, right end).
    std::array<float, 6> tick{0.22f, 0.52f, 0.42f, 0.73f, 0.79f, 0.29f};
    float tickStroke = 4.0f;
    Rgb mark = kAccent;
};
inline constexpr CheckBoxTheme kCheckBox{};

// Switch: a track (panel) and a narrower round knob that slides along it. The knob's texture is
// wider than its disc by exactly as much as makes the disc stop `knobInset` inside the track's
// ends when the widget moves it by +-(panel width - knob width) / 2.
struct SwitchTheme {
    std::string_view panelFile = "switch_panel.png", knobFile = "switch_knob.png";
    int trackWidth = 64, trackHeight = 34;  // a pill: the radius is half the height
    Rgb track = kPaperDark, trackEdge = kGridThin;
    float trackBorder = 1.5f;
    SoftShadow innerShadow{0.0f, 1.5f, 1.5f, 0.16f, kInk};  // inside the track, along its top
    int knob = 26;                                          // disc diameter
    Rgb knobFill = kAccent;
    Gradient knobGradient{};
    SoftShadow knobShadow{0.0f, 1.5f, 1.5f, 0.30f, kInk};
    // On/off switches (the options): a panel per state, marked on the side the knob leaves free
    // (a bar when on, a ring when off), and a light knob that shows on both.
    std::string_view onPanelFile = "switch_on.png", offPanelFile = "switch_off.png";
    std::string_view stateKnobFile = "switch_state_knob.png";
    Rgb onTrack = kAccent, onEdge = kAccentPressed, onMark = kTextOnAccent;
    Rgb offTrack = kAccentDisabled, offEdge = kGridHeavy, offMark = kInk;
    float markSize = 12.0f, markStroke = 3.0f;  // the bar's length and the ring's diameter
    Rgb stateKnobFill = kPaperLight;
};
inline constexpr SwitchTheme kSwitch{};

// The 13-frame slider: 0..2 decrease button (idle, hovered, pressed), 3..5 increase button,
// 6..8 knob, 9 track start, 10 track body, 11 track end, 12 fill. Frames are square: the
// texture's height is its width / 13 (the slider's button size).
struct SliderTheme {
    std::string_view file = "slider13.png";
    std::string_view listFile = "listbox_slider.png";  // frames 0..11 only, for the list box
    int frame = 40;                                    // matches the layouts' button radius of 20
    int button = 26;                                   // disc diameter of the step buttons
    Rgb buttonIdle = kAccent, buttonHovered = kAccentHover, buttonPressed = kAccentPressed;
    Gradient buttonGradient{};
    SoftShadow buttonShadow{0.0f, 1.5f, 1.0f, 0.28f, kInk};
    float buttonPressShift = 1.0f;
    float signLength = 12.0f, signStroke = 3.0f;  // the minus and plus on the step buttons
    Rgb sign = kTextOnAccent;
    int knob = 24;  // disc diameter
    float knobRing = 3.0f;
    Rgb knobFill = kPaperLight, knobPressedFill = kPaperDark;
    Rgb knobRingIdle = kAccent, knobRingHovered = kAccentHover, knobRingPressed = kAccentPressed;
    SoftShadow knobShadow{0.0f, 1.5f, 1.0f, 0.28f, kInk};
    float trackThickness = 10.0f, trackBorder = 1.0f;
    Rgb track = kPaperDark, trackEdge = kGridThin;
    float fillThickness = 6.0f;
    Rgb fill = kAccent;
};
inline constexpr SliderTheme kSlider{};

// Bars of two halves side by side, left the empty bar and right the full one, with one
// silhouette so that any part of the full half lines up with the empty half under it: the
// progress bar and the simple slider's track. Sizes are per half, gutters included.
struct BarTheme {
    std::string_view file;
    int halfWidth, height;
    float border;
    Rgb empty, emptyEdge, full, fullEdge;
    SoftShadow innerShadow;  // inside the empty bar, along its top
};
inline constexpr BarTheme kProgressBar{
    "progress_bar.png", 300, 24, 1.5f, kPaperDark, kGridThin, kAccent, kAccentPressed, {0.0f, 1.5f, 1.5f, 0.16f, kInk}};
inline constexpr BarTheme kSimpleSliderTrack{"simple_slider.png",
                                             240,
                                             14,
                                             1.0f,
                                             kPaperDark,
                                             kGridThin,
                                             kAccent,
                                             kAccentPressed,
                                             {0.0f, 1.0f, 1.0f, 0.14f, kInk}};
inline constexpr std::string_view kSimpleSliderRunnerFile = "simple_slider_runner.png";  // the slider's knob look

// Page marks: two cells side by side, left the current page's mark, right every other page's.
struct PageMarksTheme {
    std::string_view file = "page_marks.png";
    int cell = 24;
    float current = 12.0f, other = 10.0f;  // dot diameters
    Rgb currentColour = kAccent, otherColour = kGridHeavy;
};
inline constexpr PageMarksTheme kPageMarks{};

// Nine-patch panel: the panel look of kPanel cut into nine square pieces of one side (the
// corner size), named by the layout keys "TX_<row>_<column>" as "panel9_<row>_<column>.png".
inline constexpr std::string_view kPanel9FilePrefix = "panel9_";

// Line box background, texture size (the gutter is inside it).
struct LineBoxTheme {
    std::string_view file = "linebox.png";
    int width = 360, height = 48;
    float radius = 8.0f, border = 1.5f;
    Rgb fill = kPaperLight, edge = kGridHeavy;
    SoftShadow innerShadow{0.0f, 1.5f, 1.5f, 0.12f, kInk};
};
inline constexpr LineBoxTheme kLineBox{};

// List box: the panel (its size sets the list's), the selected row's highlight (one row high,
// the panel's width), an overlay of row separators for the panel, and the slider strip
// (kSlider.listFile). Rows: the panel's height / rows.
struct ListBoxTheme {
    std::string_view panelFile = "listbox_panel.png", rowFile = "listbox_row.png", listFile = "listbox_list.png";
    int width = 360, rows = 6, rowHeight = 44;
    float radius = 10.0f, border = 1.5f;
    Rgb fill = kPaperLight, edge = kGridThin;
    SoftShadow innerShadow{0.0f, 1.5f, 1.5f, 0.08f, kInk};
    float rowInsetX = 8.0f, rowInsetY = 3.0f, rowRadius = 8.0f;
    Rgb row = kAccent;
    Gradient rowGradient{0.06f, 0.05f};
    float separatorInset = 14.0f, separatorWidth = 1.0f;
    Rgb separator = kGridThin;
};
inline constexpr ListBoxTheme kListBox{};

// GUI fonts (line box and list box): copies of catalogue fonts as "<file>.xml" and
// "<file>.png" in the GUI folder. The GUI font draws without kerning, so its description lists
// none.
struct GuiFont {
    std::string_view file;  // without extension
    std::string_view font;  // catalogue name of kFonts it is made from
};
inline constexpr std::array<GuiFont, 2> kGuiFonts{{{"font_body18", "body18"}, {"font_bold22", "bold22"}}};

// ---------------------------------------------------------------------------------------------
// Game configuration: the shipped settings, the editions, the gameplay configuration and the
// default player, all "key"/"value" lists except the player (the player's own XML form).
// ---------------------------------------------------------------------------------------------
struct ConfigValue {
    std::string_view key, value;
};

inline constexpr std::string_view kGameSettingsFile = "game.xml";  // top of Resources
// The settings the game ships with; "edition" names the edition it runs as, "company" and
// "product" are kept for the user's copy only (saves go to the platform's data folder).
inline constexpr std::array<ConfigValue, 5> kGameSettings{{
    {"lang", "en"},
    {"edition", "desktop"},
    {"company", "Quorvel Works"},
    {"product", "Quorvel"},
    {"fullscreen", "false"},
}};

// Editions, in kCatalogueFolder. The base edition holds every key; the desktop edition after it
// adds its own values over the base's. Keys with empty values are filled in by the content that
// uses them as it comes.
inline constexpr std::string_view kEditionsFile = "editions.xml";
inline constexpr std::array<ConfigValue, 22> kBaseEdition{{
    {"type", "base"},
    {"gameplay", "data/share/main/other gameplay.xml"},
    {"player", "data/share/main/other player.xml"},
    {"platform", ""},
    {"heart", "1"},
    {"default_player", "1"},
    {"run_if_url_lost", "1"},
    {"url_file", ""},
    {"run_if_exe_lost", "1"},
    {"exe_file", ""},
    {"free", "0"},
    {"gameplay_ad", "0"},
    {"pack_item", ""},
    {"trophies", ""},
    {"inapp", ""},
    {"ad", ""},
    {"tutorial_postfix", ""},
    {"store", ""},
    {"leaderboard", ""},
    {"scenes", ""},
    {"unlock_pack_immediately", "0"},
    {"pack_logic_stars", "0"},
}};
// The platform names the desktop: its first letter is none of O, I and A. Its packs' description
// file, its catalogues and its window list; tutorial steps of the "_pc" variant; packs open by the
// stars of all levels, and a bought pack stays bought. "inapp" stays empty: everything is bought
// with the game's money (the desktop's test store would hand every product out for nothing), and
// every advertising network of "ad" refuses at start-up. The content assumes "free" 0.
inline constexpr std::array<ConfigValue, 11> kDesktopEdition{{
    {"type", "desktop"},
    {"platform", "pc"},
    {"pack_item", "pack_item.xml"},
    {"trophies", "data/share/main/other trophies.xml"},
    {"store", "data/share/main/other store.xml"},
    {"ad", "data/share/main/other ad.xml"},
    {"inapp", ""},
    {"scenes", "data/share/main/other windows.xml"},
    {"tutorial_postfix", "_pc"},
    {"pack_logic_stars", "1"},
    {"unlock_pack_immediately", "0"},
}};

// The gameplay configuration (named by the editions' "gameplay"): the files of the board screen.
inline constexpr std::string_view kGameplayConfigFile = "gameplay.xml";
inline constexpr std::array<ConfigValue, 9> kGameplayConfig{{
    {"settings", "data/share/main/gameplay settings.xml"},
    {"ambient", "data/share/main/gameplay ambient.xml"},
    {"effects", "data/share/main/gameplay effects.xml"},
    {"check_mode", "data/share/main/gameplay check_mode.xml"},
    {"numbers", "data/share/main/gameplay numbers.xml"},
    {"hint_button", "data/share/main/gameplay hint_button.xml"},
    {"pause_button", "data/share/main/gameplay pause_button.xml"},
    {"reset_selection", "data/share/main/gameplay reset_selection.xml"},
    {"store_button", "data/share/main/gameplay store_button.xml"},
}};

// The default player (named by the editions' "player"), the template of every new profile. Its
// hearts are full: "count" is "life" and nothing is lost. Volumes are on the 0 to 100 scale.
struct ItemCount {
    std::string_view name;
    int count;
};
struct DefaultPlayerTheme {
    std::string_view file = "player.xml";
    std::string_view name = "player";
    float soundVolume = 80.0f, musicVolume = 70.0f;
    bool gameCursor = true, passedTutorial = false, inappBought = false;
    // In name order, as the player writes them.
    std::array<ItemCount, 4> items{{{"error", 3}, {"hint_start", 1}, {"life", 5}, {"refill_hint", 0}}};
    int refillSeconds = 1800;  // one heart comes back after this long
    // Level records every new profile starts with: the first level of the first ordinary pack is
    // open (tutorial levels are open without a record). Named "packFolder.levelNN".
    std::array<std::string_view, 1> openLevels{{"pack01.level01"}};
};
inline constexpr DefaultPlayerTheme kDefaultPlayer{};

// ---------------------------------------------------------------------------------------------
// Border art around the logical screen when the desktop is not 4:3: a quiet pattern on the darker
// band colour, tiled, and a thin seam in the grid colour where it meets the screen. Described as
// the sprites "ear_tile" and "ear_line" of "ear" in "data data.xml".
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kDataFolder = "data";
inline constexpr std::string_view kDataDescriptions = "data.xml";
struct BorderArtTheme {
    std::string_view folder = "data/share/image/border";
    std::string_view tileFile = "ear_tile.png", lineFile = "ear_line.png";
    int tileSide = 48;  // the pattern repeats every tile
    int cells = 4;      // cells per tile side; every other one (checkered) holds a dot
    float dotSide = 6.0f, dotRadius = 1.5f, dotAlpha = 0.6f;
    Rgb band = kPaperDark, dot = kGridThin;
    int lineSide = 3;  // the seam's thickness in logical pixels
    Rgb line = kGridHeavy;
};
inline constexpr BorderArtTheme kBorderArt{};

// ---------------------------------------------------------------------------------------------
// Windows and layouts: authored XML under content/ that the builder checks and copies. The
// sources name look parameters by placeholder (see content/GUIDE.md) and get them from here:
//   {{hex:<colour>}}   AARRGGBB, for label colours and window settings
//   {{argb:<colour>}}  "a r g b" in decimal, for line and list box text, backgrounds, sprites
//   {{value:<name>}}   a number of kLayoutValues
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kWindowSource = "windows";              // below content/: one file per window
inline constexpr std::string_view kWindowListSource = "window_list.xml";  // below content/
inline constexpr std::string_view kLayoutSource = "layouts";              // below content/: paged-grid layouts
inline constexpr std::string_view kWindowFolder = "data/share/windows";
inline constexpr std::string_view kWindowList = "windows.xml";  // in kCatalogueFolder
inline constexpr std::string_view kLayoutFolder = "data/share/layouts";

struct LayoutColour {
    std::string_view name;
    Rgb colour;
    uint8_t alpha;
};
inline constexpr std::array<LayoutColour, 7> kLayoutColours{{
    {"ink", kInk, 0xFF},
    {"text_on_accent", kTextOnAccent, 0xFF},
    {"error", kError, 0xFF},
    // Modal dialogs dim the screen behind them with ink at 40 %; the dim fades in from clear.
    {"dim", kInk, 0x66},
    {"dim_clear", kInk, 0x00},
    // The scene-switch fade covers the screen with ink.
    {"fade", kInk, 0xFF},
    {"fade_clear", kInk, 0x00},
}};

struct LayoutValue {
    std::string_view name;
    float value;
};
inline constexpr std::array<LayoutValue, 4> kLayoutValues{{
    {"dialog_fade_seconds", 0.25f},  // dialogs fade in and out
    {"caret_blink_seconds", 0.5f},   // each phase of a text entry's blinking caret
    {"screen_fade_seconds", 0.3f},   // the full-screen fade between scenes, each way
    {"page_turn_speed", 3000.0f},    // pixels per second of a paged grid's slide (a page in about 0.34 s)
}};

// The backdrop of dimmed dialogs and of the screen fade: plain opaque white in the GUI folder,
// stretched over the screen and tinted by the window's background colours.
inline constexpr std::string_view kBackdropFile = "backdrop.png";
inline constexpr int kBackdropSide = 8;

// ---------------------------------------------------------------------------------------------
// Packs and levels: text pictures under content/levels/<pack>/ become one pack folder per pack at
// the top of Resources/ (level files, "main" with the pack's card and its level grid, "image" with
// the cover and the board background). Board geometry, the board's plain sprites, the pack card
// and the level tiles are set here.
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kLevelSource = "levels";             // below content/: one folder per pack
inline constexpr std::string_view kPackPropertiesSource = "pack.txt";  // in each pack's source folder
inline constexpr std::string_view kPackItemFile = "pack_item.xml";     // in <pack>/main: the edition's "pack_item"
inline constexpr std::string_view kPackPagesFile = "pages.xml";        // in <pack>/main: the level grid
inline constexpr std::string_view kPackCoverFile = "cover.png";        // in <pack>/image
inline constexpr std::string_view kPackCoverClosedFile = "cover_closed.png";
inline constexpr std::string_view kPackBackgroundFile = "background.png";
inline constexpr std::string_view kBoardFolder = "data/share/board";    // the board's sprites
inline constexpr std::string_view kPackArtFolder = "data/share/packs";  // card and level tiles of every pack

// The board screen: the board and its clues stay left of the controls column (the in-game
// controls, the sunime counter and the error panel) and this far inside the screen's edges.
struct BoardScreenTheme {
    int width = 1024, height = 768;
    int controlsLeft = 874;  // the controls column: x from here to the right edge (150 px)
    int margin = 8;
    // The play field every board with its clue bands fills: inside the background's dotted edge
    // (dots in the outermost rows and columns of its lattice, kBoardBackground) and left of the
    // controls column. In a tutorial pack the field starts right of the step panel.
    int fieldLeft = 44, fieldTop = 36, fieldRight = 866, fieldBottom = 732;
    float minFill = 0.70f;  // the board spans at least this part of the field's width or height
};
inline constexpr BoardScreenTheme kBoardScreen{};

// Every level's board is laid out for its own clues: the largest cell (within the size's bounds)
// with which the board, its clue bands (as deep as its longest clues need) and its border fit the
// play field, centred there. Each level file carries its cell size, its bands' depths, its clue
// style and its cell animations, made at that size. Blocks are 5 x 5 with a 2 px gap between
// blocks (a negative "shiftBlock"), which shows as the heavier fifth line.
struct BoardSizeLook {
    int size;
    int minCell, maxCell;
    std::string_view clueFont;  // of kFonts
};
inline constexpr std::array<BoardSizeLook, 4> kBoardLooks{{
    {5, 56, 100, "clue23"},
    {10, 36, 64, "clue23"},
    {15, 28, 44, "clue23"},
    {20, 20, 40, "clue19"},
}};
// Where the clues stand in their bands: `pad` from the field to the nearest number and from the
// outermost number to the band's edge; along a row the numbers are the widest apart plus `rowGap`,
// up a column the digits' height plus `columnGap`.
struct ClueLayoutTheme {
    int pad = 8;
    int rowGap = 9, columnGap = 6;
};
inline constexpr ClueLayoutTheme kClueLayout{};

// The cell size of the shared gameplay files (the effects file's cell animations and the shared
// clue style): what a level without its own look gets.
inline constexpr int kBoardCell = 26;
inline constexpr int kBoardBlock = 5;
inline constexpr int kBoardShift = -2;

// One board size: the "settings" of every level of that size. The position centres the board
// with its ears (the clue panels' bands, kDecoration.earSize) and its border on the screen left
// of the controls column; the builder checks that every shipped board, and every board size with
// the most clues a line can have, fits.
struct BoardGeometry {
    int size;     // columns = rows
    int cell;     // "elSize", pixels
    int block;    // "block": cells per block both ways (the heavier fifth line)
    int shift;    // "shiftBlock" both ways: negative, a gap at every block edge
    float x, y;   // "position": the board's centre on the screen
    int bonuses;  // "bonuses", at most the picture's filled cells
};
inline constexpr std::array<BoardGeometry, 4> kBoards{{
    {5, kBoardCell, kBoardBlock, kBoardShift, 514.0f, 461.0f, 1},
    {10, kBoardCell, kBoardBlock, kBoardShift, 514.0f, 461.0f, 2},
    {15, kBoardCell, kBoardBlock, kBoardShift, 514.0f, 461.0f, 3},
    {20, kBoardCell, kBoardBlock, kBoardShift, 514.0f, 461.0f, 4},
}};

// The board's sprites: a block of cells (paper with thin grid lines, framed by the heavier line
// that fills the gap, so it is cell x block - 2 x shift square and neighbouring blocks overlap in
// the gap), and the selection marks at the cell's size: translucent accent with the hint of
// what the move makes (a filled square, a cross).
struct BoardSpriteTheme {
    Rgb blockFill = kPaperLight, gridThin = kGridThin, gridHeavy = kGridHeavy;
    int thinLine = 1;
    Rgb selection = kAccent;
    float selectionInset = 1.5f, selectionRadius = 3.0f, selectionFillAlpha = 0.22f;
    float selectionEdge = 1.5f, selectionEdgeAlpha = 0.85f;
    float squareHintInset = 5.0f, squareHintRadius = 2.0f, squareHintAlpha = 0.35f;
    float crossHintInset = 7.5f, crossHintStroke = 2.5f, crossHintAlpha = 0.55f;
};
inline constexpr BoardSpriteTheme kBoardSprites{};

// Pack themes: the tint of a pack's cover band and of its board background's border motif.
struct PackTheme {
    std::string_view name;
    Rgb tint;
};
inline constexpr std::array<PackTheme, 7> kPackThemes{{
    {"first_steps", {0x9C, 0xC9, 0xBD}},
    {"home", {0xE0, 0xB0, 0x9C}},
    {"animals", {0xE2, 0xC9, 0x96}},
    {"nature", {0xA9, 0xC9, 0xA1}},
    {"travel", {0x9F, 0xC4, 0xCC}},
    {"music", {0xBE, 0xB2, 0xD6}},
    {"sky", {0xA9, 0xBD, 0xE0}},
}};

// The pack card (the pack list's item) and its cover; control ids are the card's "gui_*" keys.
struct PackCardTheme {
    int width = 240, height = 232;                    // "size" of the card
    std::string_view cardFile = "pack_card.png";      // kPackArtFolder: the card's panel
    std::string_view activeFile = "pack_active.png";  // an accent ring around the card
    float radius = 14.0f, activeRing = 4.0f, activeGap = 3.0f;
    SoftShadow shadow{0.0f, 3.0f, 3.0f, 0.25f, kInk};
    int coverWidth = 200, coverHeight = 140, coverTop = 16;  // image/cover.png, this far below the card's top
    float coverRadius = 10.0f, coverBand = 18.0f;            // the tinted band along the cover's top
    float coverCellGap = 1.0f, coverCellRadius = 1.5f;
    float coverMistBlur = 0.5f, coverMistAlpha = 0.45f;  // the picture blurred (radius in cells) into a faint mist
    Rgb coverPaper = kPaper, coverInk = kInk, coverGrid = kGridThin;
    float lockWidth = 36.0f, lockHeight = 28.0f, lockShackle = 11.0f, lockStroke = 5.0f;
    Rgb lock = kGridHeavy;
    int idOpen = 1, idClose = 2, idActive = 3, idScore = 4, idRequired = 5, idTitle = 6, idCard = 10, idStar = 11;
};
inline constexpr PackCardTheme kPackCard{};

// A level tile (the level list's item); control ids are the item's "gui_*" keys, the three
// stars take consecutive ids from idStar.
struct LevelTileTheme {
    int width = 112, height = 112;  // "size" of the item
    std::string_view openFile = "level_open.png", closedFile = "level_closed.png", activeFile = "level_active.png";
    std::string_view starFile = "level_star.png";  // left half an empty star, right half a gold one
    float radius = 14.0f, inset = 6.0f, activeRing = 4.0f;
    SoftShadow shadow{0.0f, 3.0f, 2.5f, 0.25f, kInk};
    int star = 24;  // side of one star half
    float starOutline = 2.0f;
    int idOpen = 1, idClose = 2, idActive = 3, idNumber = 4, idStar = 5;
    // The grid of one page and where it stands.
    int cols = 4, rows = 3, interval = 16;
    float x = 600.0f, y = 420.0f;
};
inline constexpr LevelTileTheme kLevelTile{};

// The board background of every pack: the paper, lighter towards the middle, and a frame of
// soft tinted dots.
struct BoardBackgroundTheme {
    int width = 1024, height = 768;
    Rgb paper = kPaper, centre = kPaperLight;
    float dotSpacing = 48.0f, dotRadius = 5.0f, dotAlpha = 0.35f;  // dots in the outermost rows and columns
};
inline constexpr BoardBackgroundTheme kBoardBackground{};

// Tutorial step windows: a panel at the left of the board with the tutorial's title, the step's
// text and its button; the flash image over the panel shows a move that was taken back.
inline constexpr std::string_view kTutorialStepsSource = "steps.txt";  // in a tutorial pack's source folder
struct TutorialStepTheme {
    int x = -368, y = 0;  // the panel's centre from the screen's centre: clear of the clue band of a 5 x 5 board
    int width = 256, height = 300;
    int layer = 5;  // above the screens, below the dialogs
    float fadeSeconds = 0.25f;
    float errorSeconds = 0.2f;  // each half of the flash
    Rgb error = kError;
    uint8_t errorAlpha = 0x90;  // the flash rises from clear to this and falls back
    int idNext = 1, idStartGame = 3, idError = 2, idPanel = 100, idTitle = 101, idText = 102, idCaption = 103;
    std::string_view nextKey = "tutorial_next", startGameKey = "tutorial_start";
    std::string_view flashFile = "tutorial_flash.png";  // kPackArtFolder: white, tinted by the step
    int flashInset = 12;                                // from the panel's edges, inside its shadow
    float flashRadius = 10.0f;
};
inline constexpr TutorialStepTheme kTutorialStep{};

// ---------------------------------------------------------------------------------------------
// The board's gameplay files, named by kGameplayConfig: the effects ("effects"), the clue style
// ("numbers") and the decoration ("ambient"), with their textures in kBoardFolder.
// ---------------------------------------------------------------------------------------------

// A frame animation of the board: `frames` equal frames side by side, each with a transparent
// border of at least one pixel. Cell animations have frames of exactly kBoardCell, the size the
// engine gives their quad. "loop" false plays once and holds the last frame.
struct BoardAnimation {
    std::string_view name;  // the name the board finds it by
    std::string_view file;
    int width, height;  // one frame
    int frames;
    float fps;
    bool loop;
};

// The effects file's animations. "square" and "cross" mark opened cells, "hint" and "money" fly,
// "shine" sweeps the picture at the level's end, "pulse" is the cell effect the tutorial scripts
// name to show the cells a step asks for.
inline constexpr BoardAnimation kSquareAnimation{"square", "cell_square.png", kBoardCell, kBoardCell, 5, 40.0f, false};
inline constexpr BoardAnimation kCrossAnimation{"cross", "cell_cross.png", kBoardCell, kBoardCell, 6, 40.0f, false};
inline constexpr BoardAnimation kShineAnimation{"shine", "cell_shine.png", kBoardCell, kBoardCell, 8, 20.0f, false};
inline constexpr BoardAnimation kPulseAnimation{"pulse", "cell_pulse.png", kBoardCell, kBoardCell, 10, 20.0f, false};
inline constexpr BoardAnimation kHintAnimation{"hint", "fly_hint.png", 36, 36, 8, 16.0f, true};
inline constexpr BoardAnimation kMoneyAnimation{"money", "fly_money.png", 24, 24, 8, 14.0f, true};
inline constexpr std::array<BoardAnimation, 6> kEffectAnimations{
    {kSquareAnimation, kCrossAnimation, kShineAnimation, kPulseAnimation, kHintAnimation, kMoneyAnimation}};

struct CellMarkTheme {
    // "square": the ink square inset by 1 px with 2 px corners, growing to its full size.
    float squareInset = 1.0f, squareRadius = 2.0f;
    std::array<float, 5> squareScale{0.45f, 0.70f, 0.88f, 0.97f, 1.0f};
    // "cross": the terracotta X, its first stroke drawn in over half the frames, then the second.
    float crossInset = 7.5f, crossStroke = 2.5f;
    // "shine": a reward glow that lights up and fades over the ink; alpha per frame.
    std::array<float, 8> shineAlpha{0.25f, 0.6f, 0.9f, 1.0f, 0.8f, 0.55f, 0.3f, 0.1f};
    float shineRing = 2.0f, shineFill = 0.35f;
    // "pulse": an accent ring closing in on the cell and fading.
    float pulseFromInset = 1.5f, pulseToInset = 5.5f, pulseRing = 2.0f;
    // "hint": a four-pointed reward spark that breathes and turns.
    float hintRadius = 15.0f, hintWaist = 0.32f, hintOutline = 1.5f, hintBreath = 0.12f, hintTurnDegrees = 90.0f;
};
inline constexpr CellMarkTheme kCellMarks{};
// "money": the coin of the shop, smaller.
inline constexpr CoinSpinTheme kMoneyCoin{"fly_money.png", 24, 8, 1, 10.0f, 2.0f, 0.6f, 1.0f, 2.0f, 14.0f};

// The effects file's "settings" list and flies.
struct BoardEffectsTheme {
    float openDelay = 0.06f;    // "open_delay": seconds between the cells of a move
    float endLevelTime = 1.2f;  // "end_level_time": the sweep over the picture at the level's end
    std::string_view endLevel = kShineAnimation.name;  // "end_level"
    std::string_view tutorialEffect = kPulseAnimation.name;
    // "font_selected": the ordinals of a selection, in ink at the cell's centre.
    std::string_view selectionFont = "clue14";
    Rgb selectionColour = kInk;
    // "hint_fly": the "hint" animation rests at hintRest (beside the hint button in the controls
    // column) and flies to the cell.
    std::string_view hintRest = "949 250";
    int hintDeflection1 = -140, hintDeflection2 = -60;
    float hintSpeed = 700.0f;
    // "bonus_effect": the coin flies to the sunime counter, then "+n" rises there.
    float bonusSpeed = 600.0f, bonusDeflection = 80.0f;
    std::string_view bonusFont = "title32";
    float bonusTextTime = 0.8f;
    // The amount rises just under the counter (the counter sits near the screen's top edge, so
    // the text starts below it and rises toward it, staying on the screen).
    std::string_view bonusTextStart = "0 46", bonusTextEndOffset = "0 -22";
    std::string_view bonusText = "+%i";
};
inline constexpr BoardEffectsTheme kBoardEffects{};
inline constexpr std::string_view kBoardDotFile = "soft_dot.png";  // kBoardFolder: the particles' dot
// The particles of the flies: soft dots, no "area" (they leave the emitter wherever it is).
inline constexpr ParticleRecipe kHintFinishParticles{"particles_finish",
                                                     false,
                                                     80,
                                                     6.2831853f,
                                                     60.0f,
                                                     "0 60",
                                                     "",
                                                     0.6f,
                                                     "0 -110",
                                                     0.0f,
                                                     0.0f,
                                                     14.0f,
                                                     3.0f,
                                                     Argb(kReward, 0xFF),
                                                     Argb(kReward, 0xC0),
                                                     Argb(kRewardOutline, 0x00)};
inline constexpr ParticleRecipe kHintFollowParticles{"particles_follow",
                                                     false,
                                                     60,
                                                     1.0f,
                                                     40.0f,
                                                     "0 0",
                                                     "",
                                                     0.5f,
                                                     "0 -30",
                                                     0.0f,
                                                     -20.0f,
                                                     10.0f,
                                                     2.0f,
                                                     Argb(kAccent, 0xE0),
                                                     Argb(kAccentHover, 0xA0),
                                                     Argb(kAccentHover, 0x00)};
inline constexpr ParticleRecipe kBonusFollowParticles{"particles_follow",
                                                      false,
                                                      60,
                                                      1.0f,
                                                      40.0f,
                                                      "0 0",
                                                      "",
                                                      0.5f,
                                                      "0 -30",
                                                      0.0f,
                                                      -20.0f,
                                                      9.0f,
                                                      2.0f,
                                                      Argb(kReward, 0xF0),
                                                      Argb(kReward, 0xA0),
                                                      Argb(kRewardOutline, 0x00)};

// The clue style: one element per panel. Both panels use the 14 px cut: the style serves every
// board, and the largest board needs it (ten numbers a line must stay within the ears).
// "shift_first" is the distance from the field's edge to the centre of the nearest number along
// the line, and half a cell across it (the gap at the first block edge is added by the board).
struct CluePanelStyle {
    std::string_view element;
    std::string_view font;
    float interval;  // centre to centre along the line
    float firstX, firstY;
};
inline constexpr std::array<CluePanelStyle, 2> kCluePanels{{
    {"numbersLeft", "clue14", 20.0f, 16.0f, kBoardCell / 2.0f},
    {"numbersUp", "clue14", 15.0f, kBoardCell / 2.0f, 15.0f},
}};
inline constexpr Rgb kClueOpen = kInk;
inline constexpr Rgb kClueCrossed = kSolvedClue;
// The strike over a crossed number: a slash drawn in, in the faded colour.
inline constexpr BoardAnimation kStrikeAnimation{"strike", "clue_strike.png", 22, 20, 4, 40.0f, false};
struct StrikeTheme {
    float x0 = 4.0f, y0 = 15.5f, x1 = 18.0f, y1 = 4.5f, stroke = 1.8f;
};
inline constexpr StrikeTheme kStrike{};

// The decoration: the border around the field, the ears (the clue panels' bands) with their
// separators, the highlight bars, the error panel and the sunime counter.
struct DecorationTheme {
    // Ears: "size" pixels beside the field, on the darker band; a thin separator between two lines
    // and the heavier one (as thick as the gap) at block edges.
    int earSize = 168;
    Rgb earBand = kPaperDark, stick = kGridThin, stickBlock = kGridHeavy;
    // Border: a rim just outside the field, its outer corners rounded, with a soft shadow. Nine
    // pieces: corners of `borderCorner` pixels, strips `borderStrip` thick, a clear middle.
    float borderRim = 3.0f, borderRadius = 5.0f;
    Rgb borderColour = kGridHeavy;
    SoftShadow borderShadow{0.0f, 2.0f, 2.5f, 0.28f, kInk};
    int borderCorner = 14, borderStrip = 4;
    // Highlight bars under the cursor's row and column.
    Rgb highlight = kAccent;
    uint8_t highlightAlpha = 0x30;
    int highlightSide = 8;
    // Error panel in the controls column: slots for the largest allowance the store sells.
    float errorX = 896.0f, errorY = 86.0f;  // "pos": the first slot's upper-left corner
    int errorCols = 3, errorRows = 2, errorInterval = 8;
    float errorPing = 0.35f;
    int errorPad = 10;  // the panel's room around the slots
    // The panel's caption above the slots (the text of a string key), in the ink.
    std::string_view errorCaptionKey = "board_mistakes";
    int errorCaption = 16, errorCaptionSize = 15;  // its band's height above the slots' room; the em size
    float errorPanelRadius = 10.0f;
    SoftShadow errorPanelShadow{0.0f, 2.0f, 2.0f, 0.22f, kInk};
    Rgb socket = kPaperDark;
    float socketRadius = 6.0f;
    // The sunime counter above the error panel, in the reward colour (its font's ink shadow keeps
    // it readable on paper).
    std::string_view sunimeFont = "title32";
    int sunimeX = 949, sunimeY = 36;
};
inline constexpr DecorationTheme kDecoration{};
// The border's pieces by place, in the frame reader's order (kPanelPlaces gives the attributes).
inline constexpr std::array<std::string_view, 9> kBorderFiles{
    "border_corner_ul.png",  "border_edge_up.png",   "border_corner_ur.png",
    "border_edge_right.png", "border_corner_dr.png", "border_edge_down.png",
    "border_corner_dl.png",  "border_edge_left.png", "border_middle.png"};
// The error mark pops into its slot; the locked slot and the panel are single frames.
inline constexpr BoardAnimation kErrorMarkAnimation{"error_mark", "error_mark.png", 30, 30, 4, 30.0f, false};
inline constexpr BoardAnimation kErrorLockAnimation{"error_lock", "error_lock.png", 30, 30, 1, 1.0f, false};
struct ErrorMarkTheme {
    float inset = 3.0f, radius = 6.0f;
    std::array<float, 4> scale{0.4f, 0.8f, 1.1f, 1.0f};
    float crossInset = 0.3f, crossStroke = 3.0f;  // the white X, inset as part of the mark
    float lockWidth = 12.0f, lockHeight = 9.0f, lockShackle = 4.0f, lockStroke = 2.0f, lockRing = 1.5f;
};
inline constexpr ErrorMarkTheme kErrorMark{};

// ---------------------------------------------------------------------------------------------
// Game catalogues: the store, the trophies, the in-app products and the advertising networks,
// written by hand under content/catalogues/, checked and copied to kCatalogueFolder; the trophies'
// medals and the shop's icons are drawn here.
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kCatalogueSource = "catalogues";  // below content/
inline constexpr std::string_view kStoreFile = "store.xml";
inline constexpr std::string_view kTrophiesFile = "trophies.xml";
inline constexpr std::string_view kPurchasesFile = "inapp.xml";
inline constexpr std::string_view kAdvertisingFile = "ad.xml";

// The default player's counts of "life" and "error": each ladder of the store starts above them.
inline constexpr int kStartingLives = 5;
inline constexpr int kStartingErrors = 3;
// The store's items: the two ladders and the endless items. Only "second_chance" is sold through
// the in-app store (its "InAppKey"), when that is on.
inline constexpr std::array<std::string_view, 2> kStoreLadders{"life", "error"};
inline constexpr std::array<std::string_view, 3> kStoreEndless{"life_refill", "refill_hint", "second_chance"};
inline constexpr std::string_view kSecondChanceProduct = "second_chance";
// The in-app product of the pack sold for money: that pack's "inapp" names it.
inline constexpr std::string_view kPackProduct = "pack_unlock";

// The ordinary packs; each has the trophy "achievements_txt_" + folder + "_name" (pack folders
// found below content/levels/ are required too).
inline constexpr std::array<std::string_view, 6> kOrdinaryPacks{"pack01", "pack02", "pack03",
                                                                "pack04", "pack05", "pack06"};
// Trophies the game looks for by name; the ordinary packs' trophies come on top of these.
inline constexpr std::array<std::string_view, 13> kRequiredTrophies{
    "achievements_txt_training01_name", "achievements_txt_hints01_no_name", "achievements_txt_noerrors01_name",
    "achievements_txt_hints01_name",    "achievements_txt_intime01_name",   "achievements_txt_stars01_name",
    "achievements_txt_stars02_name",    "achievements_txt_stars03_name",    "achievements_txt_currency01_name",
    "achievements_txt_currency02_name", "achievements_txt_currency03_name", "achievements_txt_lives01_buy_name",
    "achievements_txt_alltrophies_name"};
// What a trophy's condition may test: the player's statistics and the values the game root
// probes ("perfect_levels" three-star levels of the ordinary packs, "life" the hearts bought,
// "passed_fraction" of a pack or of the training, "all_other_trophies").
inline constexpr std::array<std::string_view, 14> kTrophyValues{"money",
                                                                "money_max",
                                                                "hint_use",
                                                                "without_hint_in_row_max",
                                                                "without_hint_in_row",
                                                                "without_error_in_row_max",
                                                                "without_error_in_row",
                                                                "fail_level_in_row_max",
                                                                "fail_level_in_row",
                                                                "level_time_min",
                                                                "perfect_levels",
                                                                "life",
                                                                "passed_fraction",
                                                                "all_other_trophies"};

// The advertising networks of the advertising file (every one refuses on the desktop).
inline constexpr std::array<std::string_view, 6> kAdNetworks{"adnet0", "adnet1", "adnet2",
                                                             "adnet3", "adnet5", "adnet9"};

// Medals: a disc hanging from a two-tailed ribbon, with an emblem in the middle. Earned medals are
// gold with an ink emblem and an accent ribbon; medals not yet earned are paper grey.
inline constexpr std::string_view kMedalFolder = "data/share/image/trophies";
enum class Emblem { kStar, kCoin, kHeart, kCheck, kClock, kBulb, kBulbCrossed, kCap, kCrown, kPicture };
struct Medal {
    std::string_view stem;  // "<stem>_open.png" and "<stem>_closed.png"
    Emblem emblem;
    int count;                 // 1 to 3 emblems (the tiers)
    std::string_view picture;  // kPicture: a 3 x 3 nonogram, rows top to bottom, '#' filled
};
inline constexpr std::array<Medal, 19> kMedals{{
    {"training01", Emblem::kCap, 1, ""},
    {"hints01_no", Emblem::kBulbCrossed, 1, ""},
    {"noerrors01", Emblem::kCheck, 1, ""},
    {"hints01", Emblem::kBulb, 1, ""},
    {"intime01", Emblem::kClock, 1, ""},
    {"stars01", Emblem::kStar, 1, ""},
    {"stars02", Emblem::kStar, 2, ""},
    {"stars03", Emblem::kStar, 3, ""},
    {"currency01", Emblem::kCoin, 1, ""},
    {"currency02", Emblem::kCoin, 2, ""},
    {"currency03", Emblem::kCoin, 3, ""},
    {"lives01_buy", Emblem::kHeart, 1, ""},
    {"alltrophies", Emblem::kCrown, 1, ""},
    {"pack01", Emblem::kPicture, 1, ".#.###.#."},
    {"pack02", Emblem::kPicture, 1, "#.#.#.#.#"},
    {"pack03", Emblem::kPicture, 1, "###.#..#."},
    {"pack04", Emblem::kPicture, 1, "#..##.###"},
    {"pack05", Emblem::kPicture, 1, ".#.#.#.#."},
    {"pack06", Emblem::kPicture, 1, "###...###"},
}};
struct MedalLook {
    Rgb disc, ring, emblem, ribbon, ribbonEdge;
};
struct MedalTheme {
    int side = 96;
    float discX = 48.0f, discY = 54.0f, discRadius = 33.0f, ring = 4.0f;
    float ribbonTop = 2.0f, ribbonWidth = 16.0f, ribbonSpread = 12.0f, ribbonEdgeWidth = 1.5f;
    float emblemSize = 36.0f, tierScale = 0.58f;  // one emblem's box; several are scaled down
    float stroke = 0.14f;                         // strokes of the emblems, as part of their box
    SoftShadow shadow{0.0f, 2.0f, 1.5f, 0.25f, kInk};
    MedalLook open{kReward, kRewardOutline, kInk, kAccent, kAccentPressed};
    MedalLook closed{kPaperDark, kGridHeavy, kAccentDisabled, kAccentDisabled, kGridThin};
};
inline constexpr MedalTheme kMedal{};

// Shop icons: one per store item, an emblem with a small accent badge.
inline constexpr std::string_view kShopIconFolder = "data/share/image/shop";
enum class ShopIcon { kMoreHearts, kHeartRefill, kMoreErrors, kHintRefill, kSecondChance };
struct ShopIconFile {
    std::string_view file;
    ShopIcon icon;
};
inline constexpr std::array<ShopIconFile, 5> kShopIcons{{{"life.png", ShopIcon::kMoreHearts},
                                                         {"life_refill.png", ShopIcon::kHeartRefill},
                                                         {"error.png", ShopIcon::kMoreErrors},
                                                         {"refill_hint.png", ShopIcon::kHintRefill},
                                                         {"second_chance.png", ShopIcon::kSecondChance}}};
struct ShopIconTheme {
    int side = 48;
    float emblemX = 22.0f, emblemY = 22.0f, emblemSize = 34.0f;
    float badgeX = 35.0f, badgeY = 35.0f, badgeRadius = 10.0f, badgeStroke = 3.0f;
    SoftShadow shadow{0.0f, 1.5f, 1.0f, 0.28f, kInk};
    Rgb heart = kError, cross = kCross, bulb = kReward, bulbEdge = kRewardOutline, arrow = kAccent;
    Rgb badge = kAccent, badgeGlyph = kTextOnAccent;
};
inline constexpr ShopIconTheme kShopIcon{};

// ---------------------------------------------------------------------------------------------
// Loading screen: the description "screen_loading.xml" in kCatalogueFolder and its pictures. A
// paper background, the logo (a small picture puzzle beside the game's name), a 3 x 3 grid whose
// cells fill one by one in reading order, and one splash: a title card read straight from its file
// (a plain PNG, never a repository member), with the paper colour behind it.
// ---------------------------------------------------------------------------------------------
struct LoadingScreenTheme {
    std::string_view description = "screen_loading.xml";  // in kCatalogueFolder
    std::string_view folder = "data/share/image/loading";
    // The logo is the title's own picture (kTitleArt), so the game decodes and uploads it once.
    std::string_view backgroundFile = "background.png", animationFile = "grid_fill.png";
    std::string_view splashFile = "title_card.png";
    std::string_view title = "Quorvel", tagline = "a calm game of picture logic";
    // Background: paper with a soft lighter glow in the middle, drawn small and stretched.
    int backgroundWidth = 256, backgroundHeight = 192;
    Rgb paper = kPaper, glow = kPaperLight;
    float glowRadiusX = 110.0f, glowRadiusY = 80.0f;
    // Logo: a 5 x 5 picture (rows, '#' filled) on a grid, then the name in the title face.
    std::array<std::string_view, 5> motif{".#.#.", "#####", "#####", ".###.", "..#.."};
    int logoCell = 20, logoGap = 28, logoTitleSize = 84, logoHeight = 140;
    float logoX = 512.0f, logoY = 300.0f;  // centre
    // Animation: one frame per filled cell count, 0 to 9, then the full grid held one more frame.
    int gridCells = 3, gridCell = 22, gridPad = 4;
    float gridFps = 6.0f;
    float animationX = 512.0f, animationY = 480.0f;
    // Splash: the title card over the whole screen.
    int splashWidth = 1024, splashHeight = 768;
    Rgb card = kPaperLight, tint = kGridHeavy, rule = kAccent;
    int cardCell = 30, cardTitleSize = 120, cardTaglineSize = 32;
    float timePerSplash = 1.0f, timeFade = 0.2f;  // a short wait before the title (a key skips it)
    Rgb ink = kInk, gridLine = kGridThin, heavyLine = kGridHeavy;
};
inline constexpr LoadingScreenTheme kLoadingScreen{};

// ---------------------------------------------------------------------------------------------
// In-game controls: the five control layouts named by kGameplayConfig ("check_mode",
// "hint_button", "pause_button", "store_button", "reset_selection") and the gameplay settings
// ("settings"), with their pictures in kControlsFolder. They stand in the controls column
// (kBoardScreen.controlsLeft to the right edge), centred on its middle, top to bottom: the tool
// switch, the hint button (the store button takes its place when the hints run out), the reset
// button, and the pause button at the foot.
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kControlsFolder = "data/share/controls";

// The gameplay settings file's root attributes.
struct GameplaySettingsTheme {
    int sunimeOne = 1;    // "sunime_one": per picture cell opened
    int sunimeBonus = 5;  // "sunime_bonus": per bonus cell
    int maxHints = 4;     // "max_hints": hints a level can earn
};
inline constexpr GameplaySettingsTheme kGameplaySettings{};

struct ControlsTheme {
    float columnX = 949.0f;  // the middle of the controls column
    // Tool switch: the track (kSwitch) between the square-tool icon (left: the switch is on) and
    // the cross-tool icon (right), each `toolIcon` pixels, `toolGap` from the track.
    float toolY = 194.0f;
    int toolIcon = 32, toolGap = 8;
    std::string_view squareIconFile = "tool_square.png", crossIconFile = "tool_cross.png";
    float toolSquareRadius = 4.0f, toolSquareInset = 6.0f;
    float toolCrossInset = 8.0f, toolCrossStroke = 5.0f;
    // Hint button: a digit atlas of five columns and two rows, counts 0 to 8 and "9+", each cell
    // an accent disc with the count in white; the glow behind it fades in with it. It stands where
    // the flying hint rests (kBoardEffects.hintRest).
    float hintY = 250.0f;
    float hintSpeed = 0.3f;  // seconds a slide takes
    std::string_view digitsFile = "hint_digits.png", glowFile = "hint_glow.png";
    int digitCell = 64, digitRows = 2;
    float digitDisc = 22.0f;  // radius
    SoftShadow digitShadow{0.0f, 2.0f, 2.0f, 0.30f, kInk};
    int digitTextSize = 26, digitPlusSize = 22;  // "9+" is set a little smaller
    std::array<std::string_view, 10> digitTexts{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9+"};
    int glow = 96;
    float glowInner = 22.0f, glowOuter = 46.0f;  // fully lit inside, gone outside
    float glowAlpha = 0.55f;
    // Store and pause buttons: square push buttons (kButton's frames) with an icon; the store
    // button shows a coin, the pause button two bars.
    int iconButton = 52;
    std::string_view storeFile = "store_button.png", pauseFile = "pause_button.png";
    float coinRadius = 13.0f, coinRim = 2.5f, coinMark = 5.0f;
    float pauseBarWidth = 6.0f, pauseBarHeight = 22.0f, pauseBarGap = 6.0f, pauseBarRadius = 2.0f;
    float pauseY = 712.0f;
    // Reset button: a white tile with a grey circular arrow, tinted by its three colours (the
    // vertex colour multiplies the picture): unlit, lit (a selection exists), hovered.
    std::string_view resetFile = "reset_selection.png";
    int resetTile = 52;
    float resetY = 350.0f;  // the tile's upper edge (below the hint button's hidden place)
    float resetRadius = 12.0f;
    Rgb resetGlyph{0x4A, 0x4A, 0x4A};
    float resetArcRadius = 13.0f, resetArcStroke = 4.5f, resetArrowSize = 7.0f;
    float resetTime = 0.15f;  // seconds a colour change takes
    Rgb resetBegin = kAccentDisabled, resetMid = kAccent, resetEnd = kAccentHover;
};
inline constexpr ControlsTheme kControls{};

// ---------------------------------------------------------------------------------------------
// The game as a whole: the game cursor ("gCursor.xml" in kCatalogueFolder, its root's child
// "file" naming the picture, drawn with its upper-left pixel at the pointer), the overlay shown
// while a purchase is pending ("purchase" in "data data.xml": the screen dimmed with ink at 40 %
// and a turning ring of dots), and the values the game's own windows read through placeholders.
// ---------------------------------------------------------------------------------------------
inline constexpr std::string_view kGameCursorDescription = "gCursor.xml";  // in kCatalogueFolder
struct GameCursorTheme {
    std::string_view folder = "data/share/image/cursor", file = "cursor.png";
    int side = 32;
    // The arrow's corners from its tip, in pixels; the tip sits `outline` + `tipInset` in from the
    // upper-left corner, so the paper outline around it just reaches the picture's corner.
    struct Corner {
        float x, y;
    };
    std::array<Corner, 7> arrow{{{0, 0}, {0, 21}, {5, 16.5f}, {9, 25}, {12.5f, 23.5f}, {8.5f, 15}, {15, 15}}};
    float outline = 1.5f, tipInset = 0.5f;
    Rgb body = kInk, edge = kPaperLight;
    SoftShadow shadow{1.0f, 1.5f, 1.0f, 0.30f, kInk};
};
inline constexpr GameCursorTheme kGameCursor{};

struct PurchaseOverlayTheme {
    std::string_view folder = "data/share/image/purchase", spinnerFile = "spinner.png";
    // The background: the GUI backdrop (plain white) stretched over the screen and tinted.
    Rgb dim = kInk;
    uint8_t dimAlpha = 0x66;  // 40 %
    // The animation: `frames` cells in one row; in each the ring's dots fade behind the lit one,
    // which moves one dot on per frame (a full turn per `frames` / `fps` seconds).
    int frames = 12, cell = 96;
    float ringRadius = 30.0f, dotRadius = 6.5f, tailFade = 0.78f, minAlpha = 0.18f;
    float fps = 12.0f;
    Rgb dot = kPaperLight;
    float x = 512.0f, y = 384.0f;  // centre of the screen
};
inline constexpr PurchaseOverlayTheme kPurchaseOverlay{};

// Values of the game's windows ({{value:<name>}}), beside kLayoutValues.
inline constexpr std::array<LayoutValue, 1> kGameWindowValues{{
    {"notice_seconds", 2.5f},  // a short notice stays this long before it fades out
}};

// ---- The screens' parameters, one section each ----
// -- title and profiles
// The title screen's pictures (kTitleArt.folder): the logo (the loading screen's motif and name),
// a small picture being solved move by move on its grid with its clues, the ink band the greeting
// and the profile link stand on ("Title_Top"), and the band under the name in the deletion
// question ("Players_Confirm_Del"). Texts on the bands are white; the link lights up in the
// reward colour.
struct TitleArtTheme {
    std::string_view folder = "data/share/title";
    std::string_view logoFile = "logo.png", solvingFile = "solving.png";
    std::string_view greetingBandFile = "greeting_band.png", nameBandFile = "name_band.png";
    // The deletion question's close button: a small square push button (its "X" is a label).
    ButtonStrip closeButton{"close_button.png", 40, 40, ButtonGlyph::kNone};
    // The picture being solved: rows top to bottom, '#' filled. Its clues stand left of the rows
    // and above the columns.
    std::array<std::string_view, 5> picture{"..#..", ".###.", "#####", "..#..", ".###."};
    int cell = 26;      // grid cell in pixels
    int clueBand = 40;  // room for the clues left of and above the grid
    int pad = 8;        // around the whole picture
    int clueSize = 15;  // clue numbers, Lato Black
    float clueGap = 4.0f;
    // The solving order: the rows whose runs must overlap first, then columns, then what is left.
    // Frames: the empty grid, one move per frame, then the solved picture held.
    int holdFrames = 8;
    int sheetColumns = 8;
    float fps = 4.0f;
    Rgb paper = kPaperLight, band = kPaperDark, ink = kInk, gridLine = kGridThin, heavyLine = kGridHeavy;
    Rgb cross = kCross, clue = kInk, solvedClue = kSolvedClue;
    float crossInset = 7.0f, crossStroke = 2.5f;
    SoftShadow shadow{0.0f, 3.0f, 3.0f, 0.25f, kInk};
    // Bands: rounded ink bars with a soft shadow.
    int greetingBandWidth = 600, greetingBandHeight = 104, nameBandWidth = 360, nameBandHeight = 52;
    float bandRadius = 18.0f;
    Rgb bandTop = Rgb{0x3A, 0x48, 0x6C}, bandBottom = kInk;
    SoftShadow bandShadow{0.0f, 3.0f, 4.0f, 0.30f, kInk};
};
inline constexpr TitleArtTheme kTitleArt{};
// The picture's sheet as the title window's animation reads it ({{value:<name>}}): the empty grid,
// one frame per cell, then the solved picture held.
inline constexpr int kTitleSolvingFrames =
    1 + static_cast<int>(kTitleArt.picture.size() * kTitleArt.picture[0].size()) + kTitleArt.holdFrames;
inline constexpr std::array<LayoutValue, 4> kTitleWindowValues{{
    {"title_solving_columns", static_cast<float>(kTitleArt.sheetColumns)},
    {"title_solving_rows",
     static_cast<float>((kTitleSolvingFrames + kTitleArt.sheetColumns - 1) / kTitleArt.sheetColumns)},
    {"title_solving_frames", static_cast<float>(kTitleSolvingFrames)},
    {"title_solving_fps", kTitleArt.fps},
}};
// Colours of the title windows ({{hex:<name>}}, {{argb:<name>}}), beside kLayoutColours.
inline constexpr std::array<LayoutColour, 2> kTitleLayoutColours{{
    {"reward", kReward, 0xFF},
    {"paper_light", kPaperLight, 0xFF},
}};
// -- side bar and lists
// -- shop and offer wall
// -- options, help and credits
// The game's star rule as the finish window awards it (three stars without an error, two with
// one, one otherwise); the help states it from here.
struct HelpStarRule {
    int best = 3, oneError = 2, otherwise = 1;
};
inline constexpr HelpStarRule kHelpStarRule{};

// The help sections' pictures: small boards with their clues and marks, drawn in the board's
// look (ART.md), and the icons of the gameplay pages. Written to `folder`; the pages layouts of
// the three sections to kLayoutFolder.
struct HelpArtTheme {
    std::string_view folder = "data/share/image/help";
    int cell = 30;          // side of one board cell
    int clueGap = 10;       // between the clues and the board
    int clueStep = 20;      // from one clue number to the next
    int clueSize = 18;      // clue digits (Lato Black)
    int margin = 6;         // transparent edge around a picture
    float gridThin = 1.0f;  // grid line widths
    float gridHeavy = 2.0f;
    float fillInset = 2.0f, fillRadius = 2.0f;  // a filled cell: an ink square inset, rounded
    float crossInset = 8.0f, crossStroke = 3.0f;
    float ghostAlpha = 0.35f;  // a cell a run could cover: accent, faint
    Rgb band = kPaperDark;     // behind the clues
    Rgb cellPaper = kPaperLight;
    // Icons of the gameplay pages: hearts, stars and coins in a row, `icon` pixels each.
    int icon = 48, iconGap = 12;
    // The pages: one page a section shows at a time, the picture above its text.
    int pageWidth = 700, pageHeight = 420;
    int pictureY = -100;    // the picture's centre below the page's centre
    int textY = 30;         // the text's upper edge
    int pagesX = 512, pagesY = 360;  // the page's centre on the screen
};
inline constexpr HelpArtTheme kHelpArt{};
// -- trophies and bars
// The menu bars' icons (bar_icons.cpp), one size; the bars' labels stand beside them.
inline constexpr std::string_view kBarIconFolder = "data/share/image/bars";
enum class BarIcon { kHeart, kCoin, kStar };
struct BarIconFile {
    std::string_view file;
    BarIcon icon;
};
inline constexpr std::array<BarIconFile, 3> kBarIconFiles{{
    {"heart.png", BarIcon::kHeart},
    {"coin.png", BarIcon::kCoin},
    {"star.png", BarIcon::kStar},
}};
struct BarIconTheme {
    int side = 32;
    float margin = 2.0f;  // transparent pixels around the shape
    float edge = 2.0f;    // the darker rim inside the outline
    Rgb heart = kError, heartEdge{0xA8, 0x33, 0x44};
    Rgb body = kReward, edgeColour = kRewardOutline;  // coin and star
};
inline constexpr BarIconTheme kBarIcons{};
// -- windows around a level
// The finish window's art ("data/share/image/finish"): the star (left half empty, right half
// filled, the empty half also serving as the outline under each star) and one ribbon banner per
// star count, drawn in the accent colour (one and two stars) and the reward colour (three).
struct FinishArtTheme {
    std::string_view folder = "data/share/image/finish", starFile = "star.png";
    std::array<std::string_view, 3> bannerFiles{"banner_1.png", "banner_2.png", "banner_3.png"};
    int star = 72;  // one half's side
    float starOuter = 0.46f, starInner = 0.47f * 0.46f, starOutline = 3.0f;  // of the side
    Rgb emptyFill = kPaperDark, emptyEdge = kGridThin, fullFill = kReward, fullEdge = kRewardOutline;
    int bannerWidth = 400;  // the height follows the body, the fold and the shadow
    float bannerBody = 52.0f, bannerTail = 44.0f, bannerNotch = 14.0f, bannerFold = 10.0f;
    std::array<Rgb, 3> bannerColours{kAccentPressed, kAccent, kReward};
    Gradient bannerGradient{0.12f, 0.10f};
    SoftShadow bannerShadow{0.0f, 2.0f, 2.0f, 0.25f, kInk};
};
inline constexpr FinishArtTheme kFinishArt{};
// -- tutorial steps (windows)
// The arrow a step shows beside the control its text speaks of ("point = ..." in steps.txt): an
// accent arrow pointing right, its tip `gap` pixels left of the control's left edge.
struct TutorialArrowTarget {
    std::string_view name;  // as steps.txt names it
    float left, y;          // the control's left edge and middle on the screen
};
struct TutorialArrowTheme {
    std::string_view file = "tutorial_arrow.png";  // kPackArtFolder
    int width = 44, height = 32;
    float gap = 6.0f;
    Rgb fill = kAccent;
    SoftShadow shadow{0.0f, 2.0f, 2.0f, 0.25f, kInk};
    int id = 4;
    // The tool switch's square icon, the hint button (the store button takes its place), the reset
    // tile and the pause button, from kControls and kSwitch.
    std::array<TutorialArrowTarget, 5> targets{{
        {"switch", kControls.columnX - kSwitch.trackWidth / 2.0f - kControls.toolGap - kControls.toolIcon,
         kControls.toolY},
        {"hint", kControls.columnX - kControls.iconButton / 2.0f, kControls.hintY},
        {"store", kControls.columnX - kControls.iconButton / 2.0f, kControls.hintY},
        {"reset", kControls.columnX - kControls.resetTile / 2.0f, kControls.resetY + kControls.resetTile / 2.0f},
        {"pause", kControls.columnX - kControls.iconButton / 2.0f, kControls.pauseY},
    }};
};
inline constexpr TutorialArrowTheme kTutorialArrow{};
// -- interface sounds
// A button's soft click: a short, light tick, higher and quieter than the board's cell ticks.
inline constexpr TickRecipe kButtonClick{
    1250.0f, {1.0f, 2.31f, 3.62f}, {0.7f, 0.22f, 0.07f}, 0.011f, 0.28f, 0.002f, 6500.0f, 0.07f};
// A window's light paper swish: noise in a band whose centre sweeps up and back down under a soft
// swell, about as long as a window's fade.
struct SwishRecipe {
    float lengthSeconds;
    float peakFraction;    // where the swell is loudest, as a fraction of the length
    float lowHz, highHz;   // the band's centre at both ends and at the peak
    float bandwidthRatio;  // the band's width as a fraction of its centre
    float grainGain;       // a little crackle of paper fibres over the hiss
};
inline constexpr SwishRecipe kPaperSwish{0.26f, 0.38f, 900.0f, 3400.0f, 0.9f, 0.25f};
// Peaks (fractions of full scale): under the board's ticks, so that the interface stays quiet.
inline constexpr float kButtonClickPeak = 0.32f;
inline constexpr float kPaperSwishPeak = 0.26f;
// The catalogue entries the game plays for a clicked control without a sound of its own and for a
// window that opens without an "open.<window>" entry of its own.
inline constexpr std::string_view kButtonClickEntry = "click.*";
inline constexpr std::string_view kPaperSwishEntry = "open.*";

}  // namespace ContentBuilder::Theme
