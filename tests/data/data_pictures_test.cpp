// The pictures of the default data, as the parts will load them: in the right
// archive under the right name, listed and extracted by vilora-kit lib,
// decoded by our decoders and by ImageMagick alike, at sizes that fit where
// the parts draw them.
#include "kit/art/lettering.h"
#include "kit/content/data_set.h"
#include "parts/ogreety.h"
#include "pictures/picture_decoders.h"
#include "platform/display/surface.h"
#include "tests/data/scene_views.h"
#include "tests/library/library_test_support.h"
#include "tests/support/external_tools.h"
#include "tests/support/surface_pixels.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>

namespace vilora::testing {
namespace {

using kit::data::part_uses;
using kit::data::picture_use;

std::string data_path(const std::string& name) {
    return std::string(VILORA_DATA_DIR) + "/" + name;
}

// Every archive extracted once by vilora-kit lib into one scratch directory.
class DataPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new scratch_dir;
        for (const char* library : {"dtroid.782", "robot1.782", "uganda4.782"}) {
            const auto target = *dir_ / library;
            std::filesystem::create_directories(target);
            listing_[library] =
                run(quoted(VILORA_KIT) + " lib list " + quoted(data_path(library))).output;
            extract_status_[library] =
                run(quoted(VILORA_KIT) + " lib extract " + quoted(data_path(library)) + " -C " +
                    quoted(target.string()))
                    .status;
        }
    }
    static void TearDownTestSuite() { delete dir_; }
    static std::filesystem::path file_of(const picture_use& use) {
        return *dir_ / use.library / use.name;
    }
    static inline scratch_dir* dir_ = nullptr;
    static inline std::map<std::string, std::vector<uint8_t>> listing_;
    static inline std::map<std::string, int> extract_status_;
};

TEST_F(DataPictures, EveryPictureIsListedAndExtractedUnderItsName) {
    for (const auto& [library, status] : extract_status_) EXPECT_EQ(status, 0) << library;
    for (const auto& part : part_uses())
        for (const picture_use& use : part.pictures) {
            const std::string listing(listing_[use.library].begin(), listing_[use.library].end());
            EXPECT_NE(listing.find(" " + use.name + "\n"), std::string::npos)
                << part.part << " needs " << use.name << " in " << use.library;
            EXPECT_TRUE(std::filesystem::exists(file_of(use))) << use.name;
        }
}

// Where each picture is drawn asks for a size: (width, height) exact, or a
// minimum, or a maximum so that it stays inside the picture area.
struct size_rule {
    int width, height;
    enum { exact, at_least, at_most } kind;
};

const std::map<std::string, size_rule>& size_rules() {
    static const std::map<std::string, size_rule> rules = [] {
        std::map<std::string, size_rule> r;
        for (const char* backdrop :
             {"top0.bmp",    "top1.bmp",  "top2.bmp",    "top3.bmp",  "credits.bmp", "carky.bmp",
              "housena.bmp", "noon0.bmp", "noon1.bmp",   "noon2.bmp", "noon3.bmp",   "mex.bmp",
              "zelenac.bmp", "jug.bmp",   "torture.bmp", "zool.bmp",  "sorry.bmp",   "lifelife.bmp",
              "glit.bmp",    "field.bmp", "hool.bmp"})
            r[backdrop] = {320, 200, size_rule::exact};
        r["f0.bmp"] = r["f1.bmp"] = {570, 419, size_rule::at_least};
        r["0.bmp"] = r["1.bmp"] = {420, 201, size_rule::at_least};
        r["f2.bmp"] = r["2.bmp"] = r["hlavni.bmp"] = {320, 150, size_rule::at_least};
        r["mushk.bmp"] = {320, 127, size_rule::at_most};     // at y 70 to 73
        r["cred-code.bmp"] = {317, 46, size_rule::at_most};  // at (3, 154)
        r["cred-music.bmp"] = {317, 69, size_rule::at_most}; // at (3, 131)
        r["cred-3d.bmp"] = {317, 46, size_rule::at_most};
        r["hlask9.bmp"] = {260, 120, size_rule::at_most}; // at (60, 80)
        r["litac.bmp"] = {30, 36, size_rule::at_most};    // at x 290, every 36 rows
        r["box.bmp"] = {100, 150, size_rule::at_most};    // at y 50, 100 apart
        r["ukaz.bmp"] = {60, 90, size_rule::at_least};    // name written at (24, 77)
        // Turned at 1.6 times its size about the centre, it covers the screen.
        r["winditup.bmp"] = {237, 237, size_rule::at_least};
        for (int i = 0; i < 12; i += 2) // sprites anchored 50 left, 90 above their point
            r["x" + std::to_string(i) + ".bmp"] = {100, 90, size_rule::at_least};
        for (int i = 1; i < 12; i += 2) // at (10, 10)
            r["x" + std::to_string(i) + ".bmp"] = {310, 190, size_rule::at_most};
        r["flare1.psd"] = {320, 180, size_rule::at_most}; // at y 20
        // oneco2 never clears the screen: the spinning picture covers it from
        // (120, 100) at twice its size, the circling one wherever it is.
        r["majic.bmp"] = {224, 224, size_rule::at_least};
        r["majicbig.bmp"] = {520, 400, size_rule::at_least};
        return r;
    }();
    return rules;
}

void expect_size(const std::string& name, int width, int height) {
    const auto rule = size_rules().find(name);
    if (rule == size_rules().end()) return;
    const size_rule& r = rule->second;
    if (r.kind == size_rule::exact) {
        EXPECT_EQ(width, r.width) << name;
        EXPECT_EQ(height, r.height) << name;
    } else if (r.kind == size_rule::at_least) {
        EXPECT_GE(width, r.width) << name;
        EXPECT_GE(height, r.height) << name;
    } else {
        EXPECT_LE(width, r.width) << name;
        EXPECT_LE(height, r.height) << name;
    }
}

// Channel fields of a 5-6-5 pixel widened to 8 bits, and ImageMagick's
// 8-bit channels cut to the same fields.
int field(uint32_t value, int shift, int bits) {
    return static_cast<int>(value >> shift & ((1u << bits) - 1));
}

// The red, green and blue of an 8-bit-per-channel pixel.
std::array<int, 3> channels_of(uint32_t p) {
    return {field(p, 16, 8), field(p, 8, 8), field(p, 0, 8)};
}

TEST_F(DataPictures, EveryPictureDecodesAlikeInOurDecodersAndImageMagick) {
    test_display screen(320, 240, 16);
    std::set<std::string> formats;
    for (const auto& part : part_uses())
        for (const picture_use& use : part.pictures) {
            SCOPED_TRACE(use.library + "/" + use.name);
            const std::vector<uint8_t> bytes = read_bytes(file_of(use));
            ASSERT_GT(bytes.size(), 30u);
            formats.insert(use.psd ? std::string("psd") + char('0' + bytes[13])
                                   : std::string("bmp") + std::to_string(bytes[28]) +
                                         (bytes[30] ? "rle" : ""));
            surface picture;
            ASSERT_EQ(use.psd ? decode_psd(picture, &screen.display, 3, bytes, 1)
                              : decode_bmp(picture, &screen.display, 3, bytes, use.keyed),
                      decode_ok);
            expect_size(use.name, picture.width, picture.height);
            const std::vector<uint8_t> theirs = imagemagick_rgba(file_of(use), use.psd);
            const std::vector<uint32_t> ours = all_pixels(picture);
            ASSERT_EQ(theirs.size(), ours.size() * 4);
            size_t differing = 0, transparent = 0;
            for (size_t i = 0; i < ours.size(); ++i) {
                const int channel[3] = {field(ours[i], 11, 5), field(ours[i], 5, 6),
                                        field(ours[i], 0, 5)};
                const int expected[3] = {theirs[4 * i] >> 3, theirs[4 * i + 1] >> 2,
                                         theirs[4 * i + 2] >> 3};
                for (int c = 0; c < 3; ++c)
                    if (std::abs(channel[c] - expected[c]) > (use.psd ? 1 : 0)) ++differing;
                if (ours[i] == 0) ++transparent;
                if (use.psd && picture.alpha_map[i] != theirs[4 * i + 3]) ++differing;
            }
            EXPECT_EQ(differing, 0u);
            // Keyed pictures have both see-through (0) and drawn parts.
            if (use.keyed) {
                EXPECT_GT(transparent, ours.size() / 20);
                EXPECT_LT(transparent, ours.size());
            }
        }
    // The default data exercises each decoder path.
    for (const char* format : {"bmp8", "bmp8rle", "bmp24", "psd4"})
        EXPECT_TRUE(formats.count(format)) << format;
}

// Red is what the displacement passes read: smooth fields within a few
// 8-pixel steps of a 5-6-5 screen, so that the bent pictures of obw, oneco3
// and pinkous are shifted in broad bands, not shredded.
TEST_F(DataPictures, DisplacementMapsAreSmoothFieldsInRed) {
    test_display screen(320, 240, 32);
    for (const char* name : {"f0.bmp", "f1.bmp", "0.bmp", "1.bmp"}) {
        SCOPED_TRACE(name);
        const std::string library = name[0] == 'f' ? "uganda4.782" : "robot1.782";
        surface map;
        ASSERT_EQ(decode_bmp(map, &screen.display, 3, read_bytes(*dir_ / library / name), 0),
                  decode_ok);
        const std::vector<uint32_t> pixels = all_pixels(map);
        const auto red = [&](int x, int y) {
            return static_cast<int>(pixels[static_cast<size_t>(y) * map.width + x] >> 16 & 0xFF);
        };
        int lowest = 255, highest = 0;
        size_t steep = 0, steep_over_eight = 0;
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                lowest = std::min(lowest, red(x, y));
                highest = std::max(highest, red(x, y));
                if (x >= 1 && std::abs(red(x, y) - red(x - 1, y)) > 6) ++steep;
                if (x >= 8 && std::abs(red(x, y) - red(x - 8, y)) > 8) ++steep_over_eight;
            }
        // A 5-6-5 screen keeps red in steps of 8: at least three steps, so
        // that the bend shows, and few enough that the bent picture holds
        // together, each at most every eight pixels.
        EXPECT_GE(highest - lowest, 24);
        EXPECT_LE(highest, 64);
        EXPECT_EQ(steep_over_eight, 0u);
        EXPECT_LT(steep, pixels.size() / 200);
    }
}

// A picture of an archive decoded for a 32-bit screen, with its pixels.
struct decoded {
    test_display screen{320, 240, 32};
    surface picture;
    int status;
    std::vector<uint32_t> pixels;
    decoded(const std::filesystem::path& file, bool keyed)
        : status(decode_bmp(picture, &screen.display, 3, read_bytes(file), keyed)),
          pixels(status == decode_ok ? all_pixels(picture) : std::vector<uint32_t>{}) {}
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * picture.width + x]; }
};

TEST_F(DataPictures, TheCreditPlaquesAreAlikeAndComeUpOntoAPlainShelf) {
    // oskred0 draws "music" at (3, 131) and the others at (3, 154), each
    // sliding up from below to its place. The plaques themselves are alike in
    // height; "music" carries 23 rows of the backdrop's shelf above its own,
    // and that shelf is one flat colour wherever the strip passes over it,
    // so the strip never shows.
    const decoded backdrop(*dir_ / "dtroid.782" / "credits.bmp", false);
    const decoded code(*dir_ / "dtroid.782" / "cred-code.bmp", false);
    const decoded music(*dir_ / "dtroid.782" / "cred-music.bmp", false);
    const decoded three_d(*dir_ / "dtroid.782" / "cred-3d.bmp", false);
    for (const decoded* d : {&backdrop, &code, &music, &three_d}) ASSERT_EQ(d->status, decode_ok);
    constexpr int lift = 154 - 131;
    EXPECT_EQ(code.picture.height, three_d.picture.height);
    EXPECT_EQ(music.picture.height - lift, code.picture.height);
    EXPECT_EQ(music.picture.width, code.picture.width);
    const uint32_t shelf = backdrop.at(3, 131);
    int off_shelf = 0, strip_off_shelf = 0, plaque_on_shelf = 0;
    for (int y = 131; y < 200; ++y)
        for (int x = 3; x < 3 + music.picture.width; ++x) off_shelf += backdrop.at(x, y) != shelf;
    for (int y = 0; y < lift; ++y)
        for (int x = 0; x < music.picture.width; ++x) strip_off_shelf += music.at(x, y) != shelf;
    // The plaque proper starts with its rim, which stands off the shelf.
    for (int x = 0; x < music.picture.width; ++x) plaque_on_shelf += music.at(x, lift) == shelf;
    EXPECT_EQ(off_shelf, 0);
    EXPECT_EQ(strip_off_shelf, 0);
    EXPECT_EQ(plaque_on_shelf, 0);
}

// The brightest of a pixel's channels.
int brightest(uint32_t p) {
    const auto [r, g, b] = channels_of(p);
    return std::max({r, g, b});
}

TEST_F(DataPictures, TheCreditPlaquesAreFilledAcrossWithRoomUnderTheirLines) {
    // Inside the rim (two pixels wide), the lettering is the only light on
    // the dark plaque: the four rows above the bottom rim stay clear of it,
    // so that descenders do not touch the rim, and every plaque is lettered
    // past its middle, the widest to within a margin of its right rim.
    constexpr int lift = 154 - 131, height = 40;
    int widest_ink = 0, width = 0;
    for (const char* name : {"cred-code.bmp", "cred-music.bmp", "cred-3d.bmp"}) {
        const decoded plaque(*dir_ / "dtroid.782" / name, false);
        ASSERT_EQ(plaque.status, decode_ok) << name;
        width = plaque.picture.width;
        const int top = plaque.picture.height - height;
        EXPECT_TRUE(top == 0 || top == lift) << name;
        int right_ink = 0, low_ink = 0;
        for (int y = top + 2; y < top + height - 2; ++y)
            for (int x = 2; x < width - 2; ++x) {
                if (brightest(plaque.at(x, y)) < 0x60) continue;
                right_ink = std::max(right_ink, x);
                low_ink += y >= top + height - 6;
            }
        EXPECT_EQ(low_ink, 0) << name;
        EXPECT_GT(right_ink, width / 2) << name;
        widest_ink = std::max(widest_ink, right_ink);
    }
    EXPECT_GT(widest_ink, width - 16);
}

// The title's lettering is warm (rust or amber) on blue fog and black hills:
// a pixel of it is bright red, far redder than blue. Its glow is a dim red.
bool warm_ink(uint32_t p) {
    const auto [r, g, b] = channels_of(p);
    return r > 200 && r > b + 80;
}
bool warm_glow(uint32_t p) {
    const auto [r, g, b] = channels_of(p);
    return r > 40 && r > b + 30;
}

TEST_F(DataPictures, TheTitlesNameIsSetAsTwoWordsInTwoTonesWithAPlainSpace) {
    // "vilo ra" along rows 150 to 185 of the title pictures: the space
    // between the words wider than any gap between letters, yet not wider
    // than two and a half of the widest of them; "ra" in a paler tone than
    // "vilo", so that the space reads as between words.
    for (const char* name : {"top0.bmp", "top3.bmp"}) {
        SCOPED_TRACE(name);
        const decoded title(*dir_ / "dtroid.782" / name, false);
        ASSERT_EQ(title.status, decode_ok);
        std::vector<bool> inked(320, false);
        std::vector<int> green(320, 0), count(320, 0);
        for (int x = 0; x < 320; ++x)
            for (int y = 150; y < 186; ++y) {
                const uint32_t p = title.at(x, y);
                if (!warm_ink(p)) continue;
                inked[x] = true;
                green[x] += channels_of(p)[1];
                ++count[x];
            }
        std::vector<int> gaps, starts{0};
        int last_ink = -1;
        for (int x = 0; x < 320; ++x) {
            if (!inked[x]) continue;
            // A single clear column is a letter's own notch, not a gap.
            if (last_ink >= 0 && x - last_ink > 2) {
                gaps.push_back(x - last_ink - 1);
                starts.push_back(x);
            }
            if (last_ink < 0) starts[0] = x;
            last_ink = x;
        }
        ASSERT_EQ(gaps.size(), 5u) << "v i l o _ r a, the i's dot over its stem";
        const auto space = std::max_element(gaps.begin(), gaps.end());
        ASSERT_EQ(space - gaps.begin(), 3); // between "o" and "r"
        const int word_space = *space;
        // The mean green of each word's ink: rust is low in it, amber high.
        const auto mean_green = [&](int from, int to) {
            long sum = 0, n = 0;
            for (int x = from; x < to; ++x) sum += green[x], n += count[x];
            return n > 0 ? static_cast<double>(sum) / static_cast<double>(n) : 0.0;
        };
        const double vilo = mean_green(0, starts[4] - word_space);
        const double ra = mean_green(starts[4], 320);
        EXPECT_GT(ra, vilo + 50) << "vilo " << vilo << ", ra " << ra;
        gaps.erase(space);
        const int widest_letter_gap = *std::max_element(gaps.begin(), gaps.end());
        EXPECT_GT(word_space, widest_letter_gap);
        EXPECT_LE(word_space * 2, widest_letter_gap * 5);
        std::printf("%s: letter gaps up to %d, word space %d\n", name, widest_letter_gap,
                    word_space);
    }
}

TEST_F(DataPictures, TheTitlesFieldEndsAboveTheNameAndItsGlow) {
    // otitulek fades mushk.bmp in at rows 70 to 73, a new pick each frame:
    // any of the lettering under it would shake. Every row of the field, at
    // the lowest of those places, lies above the first row where the
    // title's name glows; and the tagline keeps a row clear of the glow
    // above it.
    const decoded field(*dir_ / "dtroid.782" / "mushk.bmp", false);
    ASSERT_EQ(field.status, decode_ok);
    for (const char* name : {"top0.bmp", "top1.bmp", "top2.bmp", "top3.bmp"}) {
        SCOPED_TRACE(name);
        const decoded title(*dir_ / "dtroid.782" / name, false);
        ASSERT_EQ(title.status, decode_ok);
        // Rows with warm pixels in the name's columns (the name is about
        // 120 pixels wide in the middle), from row 100 down: the name's
        // glow and ink, then the tagline's pale ink, then none.
        std::vector<int> warm(200, 0);
        for (int y = 100; y < 200; ++y)
            for (int x = 110; x < 210; ++x) warm[y] += warm_glow(title.at(x, y));
        const auto first = std::find_if(warm.begin(), warm.end(), [](int n) { return n > 2; });
        ASSERT_NE(first, warm.end());
        const int glow_top = static_cast<int>(first - warm.begin());
        EXPECT_LE(73 + field.picture.height, glow_top);
        EXPECT_GT(glow_top, 140); // below where the hedgehog circles
    }
}

TEST_F(DataPictures, ObwsEyeAndItsLabelStandApartWhereEveryShiftShowsThem) {
    // obw shows screen column i (80 to 319) from source column i + s, s from
    // 0 to 56, the same along a row: only source columns 136 to 319 are on
    // the screen at every shift. The eye (its iris and its whites, brighter
    // than the page) and the label's ink (darker than the page's dots) lie
    // there, the label left of column 180 and the eye from column 205: rows
    // shift by up to 20 pixels against their neighbours, which must not carry
    // the one into the other. The eye's right corner ends by column 304, so
    // that at a shift of 0 it stays clear of the frame's edge.
    test_display screen(320, 240, 32);
    surface eye;
    ASSERT_EQ(decode_bmp(eye, &screen.display, 3, read_bytes(*dir_ / "uganda4.782" / "f2.bmp"), 0),
              decode_ok);
    ASSERT_EQ(eye.width, 320);
    const std::vector<uint32_t> pixels = all_pixels(eye);
    int iris = 0, whites = 0, ink = 0, misplaced = 0;
    for (int y = 0; y < eye.height; ++y)
        for (int x = 0; x < eye.width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * eye.width + x];
            const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
            const bool of_iris = r > 0x70 && g < 0x78 && b < 0x30;
            const bool of_whites = b > 225;
            const bool of_ink = r < 40 && x < 180;
            iris += of_iris, whites += of_whites, ink += of_ink;
            if (of_iris || of_whites) misplaced += x < 205 || x > 304;
            if (of_ink) misplaced += x < 136;
        }
    EXPECT_GT(iris, 500);
    EXPECT_GT(whites, 1000);
    EXPECT_GT(ink, 100);
    EXPECT_EQ(misplaced, 0);
}

TEST_F(DataPictures, ObwsEyeChartStaysInTheColumnsTheBendingLeaves) {
    // Mode 0 bends columns 80 to 319 of rows 32 to 168 and leaves the rest
    // of the backdrop. The chart beside the eye is a pale card on those
    // rows, its dark letters on the card, all left of column 72: a rust gap
    // stays between it and the bent panel, and no letter is cut off by it.
    const decoded frame(*dir_ / "uganda4.782" / "torture.bmp", false);
    ASSERT_EQ(frame.status, decode_ok);
    ASSERT_EQ(frame.picture.width, 320);
    const auto channels = [&](int x, int y) { return channels_of(frame.at(x, y)); };
    int paper = 0, ink = 0, stray = 0, card_rows = 0;
    for (int y = 0; y < frame.picture.height; ++y) {
        bool card_row = false;
        for (int x = 0; x < 80; ++x) {
            const auto [r, g, b] = channels(x, y);
            const bool pale = r > 200 && g > 190 && b > 150;
            const bool dark = r < 60 && g < 40 && b < 40;
            const bool inside = x >= 9 && x <= 70 && y >= 33 && y <= 167;
            paper += pale;
            card_row |= pale;
            if (inside) ink += dark;
            stray += (pale && (x >= 72 || y < 32 || y > 168));
        }
        card_rows += card_row;
    }
    EXPECT_GT(paper, 5000);
    EXPECT_GT(ink, 600) << "the chart's letters";
    EXPECT_GE(card_rows, 130) << "the card spans the bent panel's rows";
    EXPECT_EQ(stray, 0);
}

TEST_F(DataPictures, EveryGreetingNameLiesOnTheBubble) {
    // The part writes the name at (24, 77) of the bubble in the 12 x 12
    // lettering: every pixel of it, and two pixels round it, on the bubble's
    // white, clear of its rim.
    test_display screen(320, 240, 32);
    surface bubble;
    ASSERT_EQ(
        decode_bmp(bubble, &screen.display, 3, read_bytes(*dir_ / "dtroid.782" / "ukaz.bmp"), 1),
        decode_ok);
    const std::vector<uint32_t> pixels = all_pixels(bubble);
    const auto white = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= bubble.width || y >= bubble.height) return false;
        const uint32_t p = pixels[static_cast<size_t>(y) * bubble.width + x];
        return (p >> 16 & 0xFF) > 230 && (p >> 8 & 0xFF) > 230 && (p & 0xFF) > 230;
    };
    const kit::art::lettering letters;
    ASSERT_TRUE(letters.ready());
    for (const char* name : ogreety::names) {
        const kit::art::mask ink = letters.text(name, 12, 12);
        int off = 0;
        for (int y = 0; y < ink.height(); ++y)
            for (int x = 0; x < ink.width(); ++x) {
                if (ink.at(x, y) == 0) continue;
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx) off += !white(24 + x + dx, 77 + y + dy);
            }
        EXPECT_EQ(off, 0) << name;
    }
}

TEST_F(DataPictures, HoupsSignalBandsKeepOutOfWhereTheDogRuns) {
    // houp draws its dog in greys over the page, its columns stretched 1.8 to
    // 4 times from column 0 and every line's ends shaken up to 9 pixels right
    // and down. In the box that covers all of that, over the whole scene, the
    // page is plain: cool grey, blue a little above red, never tinted towards
    // red or cyan by a torn band that would read as a stroke of the dog.
    int left = 320, right = 0, top = 200, bottom = 0;
    const scene_view& view = view_of("houp");
    const kf_status status =
        walk_view(data_path("psyki.3ds"), view, [&](float, const std::vector<drawn_face>& faces) {
            for (const drawn_face& f : faces) {
                if (!view.subject(f.mesh->name)) continue;
                for (const screen_point& s : f.corner) {
                    left = std::min(left, static_cast<int>(s.x * 1.8f / 3));
                    right = std::max(right, static_cast<int>(s.x * 4 / 3) + 9);
                    top = std::min(top, static_cast<int>(s.y));
                    bottom = std::max(bottom, static_cast<int>(s.y) + 9);
                }
            }
        });
    ASSERT_EQ(status, KF_OK);
    ASSERT_LT(left, right);
    ASSERT_LT(top, bottom);
    const decoded page(*dir_ / "uganda4.782" / "glit.bmp", false);
    ASSERT_EQ(page.status, decode_ok);
    int tinted = 0, checked = 0;
    for (int y = std::max(0, top); y <= std::min(199, bottom); ++y)
        for (int x = std::max(0, left); x <= std::min(319, right); ++x) {
            const uint32_t p = page.at(x, y);
            const int red = field(p, 16, 8), blue = field(p, 0, 8);
            tinted += red > blue || blue - red > 36;
            ++checked;
        }
    EXPECT_GT(checked, 100 * 100) << left << ".." << right << " x " << top << ".." << bottom;
    EXPECT_EQ(tinted, 0) << left << ".." << right << " x " << top << ".." << bottom;
}

TEST_F(DataPictures, TheBubblesLetteringIsBlackOnWhite) {
    // The part blends the bubble at 90/256: only black ink on white shows
    // through that with any strength. The line over the name is set in
    // black, bold enough to carry a good deal of it.
    const decoded bubble(*dir_ / "dtroid.782" / "ukaz.bmp", true);
    ASSERT_EQ(bubble.status, decode_ok);
    int black = 0, grey = 0;
    for (int y = 60; y < 75; ++y)
        for (int x = 20; x < 120; ++x) {
            const int light = brightest(bubble.at(x, y));
            black += light < 16;
            grey += light >= 16 && light < 160;
        }
    EXPECT_GT(black, 150);
    EXPECT_LT(grey, black);
}

TEST_F(DataPictures, MagicsPlateFitsItsWordAndKeepsOffTheCornerRing) {
    // mex.bmp is keyed: the plate under "magic" hangs from the top rim, the
    // word centred on it with room either side, and it ends before the
    // top-right corner ring with see-through columns between them.
    const decoded picture(*dir_ / "robot1.782" / "mex.bmp", true);
    ASSERT_EQ(picture.status, decode_ok);
    constexpr int row = 20; // through the ring's middle and the word
    // The plate: dark (dithered) but opaque, along a row under the word.
    const auto on_plate = [&](int x) {
        const uint32_t p = picture.at(x, 26);
        return p != 0 && brightest(p) < 0x40;
    };
    int left = 250, right = 250;
    ASSERT_TRUE(on_plate(250));
    while (on_plate(left - 1)) --left;
    while (on_plate(right + 1)) ++right;
    int ink_left = 319, ink_right = 0;
    for (int y = 5; y < 26; ++y)
        for (int x = left; x <= right; ++x) {
            if (brightest(picture.at(x, y)) < 0x80) continue;
            ink_left = std::min(ink_left, x);
            ink_right = std::max(ink_right, x);
        }
    ASSERT_LT(ink_left, ink_right);
    EXPECT_GE(ink_left - left, 4);
    EXPECT_GE(right - ink_right, 4);
    EXPECT_LE(std::abs((ink_left - left) - (right - ink_right)), 3);
    // Past the plate's gold edge, see-through columns before the ring.
    int x = right + 1, clear = 0;
    while (x < 300 && picture.at(x, row) != 0) ++x;
    for (; x < 300 && picture.at(x, row) == 0; ++x) ++clear;
    EXPECT_GE(clear, 3);
}

TEST_F(DataPictures, SorrysWhiteLettersLieInAHeavyDarkOutline) {
    // The finale lays "sorry" over light and dark scenes alike: going out
    // from any of its white pixels, left, right, up or down, a line meets at
    // least three dark pixels before it meets the see-through ground.
    const decoded picture(*dir_ / "uganda4.782" / "sorry.bmp", true);
    ASSERT_EQ(picture.status, decode_ok);
    const auto dark = [](uint32_t p) { return p != 0 && brightest(p) < 0x50; };
    int white = 0, thin = 0;
    for (int y = 30; y < 142; ++y)
        for (int x = 0; x < 320; ++x) {
            if (std::min({field(picture.at(x, y), 16, 8), field(picture.at(x, y), 8, 8),
                          field(picture.at(x, y), 0, 8)}) < 0xd0)
                continue;
            ++white;
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                int darks = 0, cx = x, cy = y;
                while (cx >= 0 && cx < 320 && cy >= 0 && cy < 200 && picture.at(cx, cy) != 0) {
                    darks += dark(picture.at(cx, cy));
                    cx += dx;
                    cy += dy;
                }
                thin += darks < 3;
            }
        }
    EXPECT_GT(white, 1000);
    EXPECT_EQ(thin, 0);
}

TEST_F(DataPictures, OdistortsCellsAreALightCalmGround) {
    // odistort draws its scene's lines in (9, z / 2, 9), dark to bright
    // green, and fills its copies in (z / 2, 89, 89): above and below the
    // film strip the tissue is light everywhere (every channel well above
    // the fills' 89) and calm (its lightest and darkest close together).
    const decoded cells(*dir_ / "uganda4.782" / "lifelife.bmp", false);
    ASSERT_EQ(cells.status, decode_ok);
    int darkest = 255, lightest = 0;
    for (int y = 0; y < 200; ++y) {
        if (y >= 96 && y < 146) continue; // the strip and its shadows
        for (int x = 0; x < 320; ++x) {
            const uint32_t p = cells.at(x, y);
            const int least = std::min({field(p, 16, 8), field(p, 8, 8), field(p, 0, 8)});
            darkest = std::min(darkest, least);
            lightest = std::max(lightest, least);
        }
    }
    EXPECT_GT(darkest, 130);
    EXPECT_LT(lightest - darkest, 90);
}

TEST_F(DataPictures, OnecoZerosLightTurnsOverSoftWaterWithoutASeam) {
    // oneco0 spins mirror3.bmp, keyed, at five times its size about the
    // top-left corner of the backdrop housena.bmp: each of its pixels becomes
    // a 5 x 5 block, its keyed rim a circle of radius 200 there. The water is
    // lit from that corner in broad bands that step by one level of one
    // channel, never dithered; where the spun picture can reach, it is the
    // same at every distance from the corner, and the spun picture is the
    // water at five times its own distance from its middle, lightened by at
    // most a level of red and blue and two of green (its light), and exactly
    // the water along its rim, so that no block steps by more than a level
    // and the rim does not show at all.
    test_display screen(320, 240, 16);
    surface water, light;
    ASSERT_EQ(
        decode_bmp(water, &screen.display, 3, read_bytes(*dir_ / "dtroid.782" / "housena.bmp"), 0),
        decode_ok);
    ASSERT_EQ(
        decode_bmp(light, &screen.display, 3, read_bytes(*dir_ / "dtroid.782" / "mirror3.bmp"), 1),
        decode_ok);
    const auto levels = [](uint32_t v) {
        return std::array<int, 3>{field(v, 11, 5), field(v, 5, 6), field(v, 0, 5)};
    };
    const std::vector<uint32_t> backdrop = all_pixels(water);
    const auto at = [&](int x, int y) {
        return backdrop[static_cast<size_t>(y) * water.width + x];
    };
    // The water's values at each whole distance from the corner within
    // reach: one, or two where a band edge falls inside the pixel ring.
    std::map<int, std::set<uint32_t>> rings;
    std::set<uint32_t> values;
    int steep = 0;
    for (int y = 0; y < water.height; ++y)
        for (int x = 0; x < water.width; ++x) {
            const uint32_t v = at(x, y);
            values.insert(v);
            if (x > 0) {
                const std::array<int, 3> c = levels(v), l = levels(at(x - 1, y));
                for (int k = 0; k < 3; ++k) steep += std::abs(c[k] - l[k]) > 1;
            }
            const double r = std::hypot(x + 0.5, y + 0.5);
            if (r < 205) rings[static_cast<int>(r)].insert(v);
        }
    int uneven = 0;
    std::map<int, uint32_t> ring;
    for (const auto& [d, set] : rings) {
        uneven += set.size() > 2;
        ring[d] = *set.begin();
    }
    EXPECT_EQ(uneven, 0);
    EXPECT_EQ(steep, 0);           // soft: no channel steps by more than a level
    EXPECT_LT(values.size(), 60u); // broad bands, no noise
    EXPECT_GT(values.size(), 8u);  // but lit: not one flat value
    ASSERT_EQ(light.width, 80);
    ASSERT_EQ(light.height, 80);
    const std::vector<uint32_t> spun = all_pixels(light);
    const std::array<int, 3> most{1, 2, 1};
    int lit = 0, off_water = 0, rim_seam = 0, keyed_inside = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const uint32_t v = spun[static_cast<size_t>(y) * 80 + x];
            const double r = std::hypot(x - 39.5, y - 39.5);
            if (v == 0) {
                keyed_inside += r < 38;
                continue;
            }
            // The water under this block, from a little nearer to a little
            // farther than the block's middle.
            std::array<int, 3> low{99, 99, 99}, high{-1, -1, -1};
            for (int d = static_cast<int>(5 * r) - 4; d <= static_cast<int>(5 * r) + 4; ++d) {
                if (!rings.count(d)) continue;
                for (const uint32_t value : rings.at(d)) {
                    const std::array<int, 3> w = levels(value);
                    for (int k = 0; k < 3; ++k)
                        low[k] = std::min(low[k], w[k]), high[k] = std::max(high[k], w[k]);
                }
            }
            const std::array<int, 3> c = levels(v);
            bool lifted = false;
            for (int k = 0; k < 3; ++k) {
                off_water += c[k] < low[k] || c[k] > high[k] + most[k];
                lifted |= c[k] > high[k];
            }
            lit += lifted;
            rim_seam += r >= 36 && (lifted || c != levels(ring.at(static_cast<int>(5 * r))));
        }
    EXPECT_EQ(off_water, 0);
    EXPECT_EQ(rim_seam, 0);
    EXPECT_EQ(keyed_inside, 0);
    EXPECT_GT(lit, 400); // the light shows as it turns
}

TEST_F(DataPictures, TheFlareFadesOutSoftly) {
    test_display screen(320, 240, 16);
    const picture_use flare{"uganda4.782", "flare1.psd", false, true};
    surface picture;
    ASSERT_EQ(decode_psd(picture, &screen.display, 3, read_bytes(file_of(flare)), 1), decode_ok);
    const uint8_t* alpha = picture.alpha_map.get();
    const int w = picture.width, h = picture.height;
    EXPECT_EQ(alpha[0], 0);
    EXPECT_EQ(alpha[static_cast<size_t>(w) * h - 1], 0);
    EXPECT_GT(alpha[static_cast<size_t>(h / 2) * w + w / 2], 240);
    // Soft: most of what shows is partly transparent.
    size_t shown = 0, partial = 0;
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        shown += alpha[i] > 0;
        partial += alpha[i] > 0 && alpha[i] < 255;
    }
    EXPECT_GT(shown, static_cast<size_t>(w) * h / 4);
    EXPECT_GT(partial, shown * 9 / 10);
}

} // namespace
} // namespace vilora::testing
