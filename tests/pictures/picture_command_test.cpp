// vilora-kit picture against ImageMagick: pictures that ImageMagick writes from
// a procedural pattern decode, through the kit, to exactly the pixels that
// ImageMagick itself reads from them, packed for each screen format.
#include "kit/formats/psd_writer.h"
#include "platform/display/palette.h"
#include "tests/library/library_test_support.h"
#include "tests/support/external_tools.h"

#include <gtest/gtest.h>

#include <string>

namespace vilora {
namespace {

using namespace vilora::testing;

std::string kit() {
    return quoted(VILORA_KIT) + " picture ";
}

struct picture_kind {
    const char* name;
    const char* options; // how ImageMagick writes it
    const char* extension;
    bool palettised;
    bool alpha;
    // How ImageMagick writes the twin it reads as the oracle; null: the picture itself.
    const char* oracle_options;
};

// ImageMagick's RLE8 reader lets the runs with which its own writer pads rows
// to 4 pixels spill into the next row, so it misreads pictures whose width is
// not a multiple of 4; the uncompressed twin, same palette, it reads right.
const picture_kind kinds[] = {
    {"bmp8", "-type Palette -compress None BMP3:", ".bmp", true, false, nullptr},
    {"bmp8_rle", "-type Palette -compress RLE BMP3:", ".bmp", true, false,
     "-type Palette -compress None BMP3:"},
    {"bmp24", "-type TrueColor BMP3:", ".bmp", false, false, nullptr},
    {"psd3_raw", "-type TrueColor -compress None PSD:", ".psd", false, false, nullptr},
    {"psd4_packbits", "-type TrueColorAlpha -compress RLE PSD:", ".psd", false, true, nullptr},
};

struct picture_size {
    int width, height;
};
const picture_size sizes[] = {{1, 23}, {3, 9}, {13, 7}, {37, 20}, {64, 33}};

// The pattern: 40 colours in sequence for palettised pictures (so there are
// more than 16 and the file stays 8-bit), smooth and not so smooth ramps for
// true colour, and an alpha ramp.
std::vector<uint8_t> pattern(const picture_kind& kind, picture_size size) {
    std::vector<uint8_t> out;
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const int i = y * size.width + x, k = i * 7 % 40;
            if (kind.palettised)
                out.insert(out.end(), {uint8_t((k * 53 + 17) % 256), uint8_t((k * 97 + 31) % 256),
                                       uint8_t((k * 29 + 200) % 256)});
            else
                out.insert(out.end(),
                           {uint8_t((x * 41 + y * 7) % 256), uint8_t((y * 67 + x * 3) % 256),
                            uint8_t((x * y * 13 + 90) % 256)});
            if (kind.alpha) out.push_back(uint8_t((x * 19 + y * 37) % 256));
        }
    }
    return out;
}

// What the header of the written file says, to be sure the test tests that format.
void expect_format(const picture_kind& kind, const std::vector<uint8_t>& file) {
    ASSERT_GT(file.size(), 40u);
    if (kind.extension == std::string(".bmp")) {
        EXPECT_EQ(file[28], kind.palettised ? 8 : 24);
        EXPECT_EQ(file[30], kind.name == std::string("bmp8_rle") ? 1 : 0);
        return;
    }
    auto be = [&](size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | file.at(at + static_cast<size_t>(i));
        return v;
    };
    EXPECT_EQ(be(12, 2), kind.alpha ? 4u : 3u);
    EXPECT_EQ(be(22, 2), 8u);
    EXPECT_EQ(be(24, 2), 3u);
    size_t at = 26;
    for (int section = 0; section < 3; ++section) at += 4 + be(at, 4);
    EXPECT_EQ(be(at, 2), kind.alpha ? 1u : 0u);
}

struct screen_format {
    const char* name;
    int red_bits, green_bits, blue_bits; // 0: 8-bit palette
};
const screen_format formats[] = {
    {"565", 5, 6, 5}, {"555", 5, 5, 5}, {"8888", 8, 8, 8}, {"888", 8, 8, 8}, {"8", 0, 0, 0}};

// Pixels compare as the screen holds them: channels cut to the format's bits,
// palette colours by the entry nearest to the source colour.
std::array<int, 3> on_screen(const screen_format& format, const uint8_t* rgba,
                             const palette_entries& screen_palette) {
    if (format.red_bits == 0) {
        const palette_entry& e = screen_palette[static_cast<size_t>(
            nearest_palette_index(screen_palette, rgba[0], rgba[1], rgba[2]))];
        return {e.red, e.green, e.blue};
    }
    return {rgba[0] >> (8 - format.red_bits), rgba[1] >> (8 - format.green_bits),
            rgba[2] >> (8 - format.blue_bits)};
}

class PictureCommand : public ::testing::TestWithParam<std::tuple<picture_kind, picture_size>> {};

TEST_P(PictureCommand, DecodesToThePixelsImageMagickReads) {
    const auto& [kind, size] = GetParam();
    scratch_dir dir;
    const std::string raw = (dir / "pattern.raw").string();
    const std::string picture = (dir / (std::string("picture") + kind.extension)).string();
    write_bytes(raw, pattern(kind, size));
    const std::string geometry = std::to_string(size.width) + "x" + std::to_string(size.height);
    auto write_picture = [&](const char* options, const std::string& file) {
        return run("convert -size " + geometry + " -depth 8 " + (kind.alpha ? "rgba:" : "rgb:") +
                   quoted(raw) + " " + options + quoted(file))
            .status;
    };
    ASSERT_EQ(write_picture(kind.options, picture), 0) << "ImageMagick could not write it";
    expect_format(kind, read_bytes(picture));

    std::string oracle_file = picture;
    if (kind.oracle_options) {
        oracle_file = (dir / (std::string("twin") + kind.extension)).string();
        ASSERT_EQ(write_picture(kind.oracle_options, oracle_file), 0);
    }
    const std::vector<uint8_t> oracle =
        imagemagick_rgba(oracle_file, kind.extension == std::string(".psd"));
    ASSERT_EQ(oracle.size(), static_cast<size_t>(size.width * size.height * 4));
    const palette screen = palette::screen_default();
    const palette_entries& screen_palette = *screen.entries;

    for (const screen_format& format : formats) {
        SCOPED_TRACE(std::string("format ") + format.name);
        const std::string png = (dir / (std::string(format.name) + ".png")).string();
        const run_result decoded = run(kit() + quoted(picture) + " " + quoted(png) +
                                       " --keyed --format " + format.name + " 2>&1");
        ASSERT_EQ(decoded.status, 0) << std::string(decoded.output.begin(), decoded.output.end());
        const std::vector<uint8_t> shown = imagemagick_rgba(png, false);
        ASSERT_EQ(shown.size(), oracle.size());
        int mismatches = 0;
        for (size_t i = 0; i < oracle.size(); i += 4) {
            const auto want = on_screen(format, &oracle[i], screen_palette);
            const auto got = on_screen(format, &shown[i], screen_palette);
            const int want_alpha = kind.alpha ? oracle[i + 3] : 255;
            if ((want != got || want_alpha != shown[i + 3]) && ++mismatches <= 3)
                ADD_FAILURE() << "pixel " << i / 4 << " (" << i / 4 % size.width << ", "
                              << i / 4 / size.width << ")";
        }
        EXPECT_EQ(mismatches, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(ImageMagickPictures, PictureCommand,
                         ::testing::Combine(::testing::ValuesIn(kinds), ::testing::ValuesIn(sizes)),
                         [](const auto& info) {
                             const picture_size size = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::to_string(size.width) + "x" + std::to_string(size.height);
                         });

TEST(PictureCommandFailures, AreOneClearLineAndStatus1) {
    scratch_dir dir;
    write_bytes(dir / "four.bmp", std::vector<uint8_t>(10, 'x'));
    const std::string out = quoted((dir / "out.png").string());
    const run_result not_picture =
        run(kit() + quoted((dir / "four.bmp").string()) + " " + out + " 2>&1");
    EXPECT_EQ(not_picture.status, 1);
    EXPECT_NE(
        std::string(not_picture.output.begin(), not_picture.output.end()).find("not a BMP file"),
        std::string::npos);
    EXPECT_EQ(run(kit() + quoted((dir / "none.bmp").string()) + " " + out + " 2>&1").status, 1);
}

TEST(PictureCommandFailures, PsdsAreJudgedAsPsdsAndBadOptionsAreUsageErrors) {
    scratch_dir dir;
    const std::string out = quoted((dir / "out.png").string());
    // A damaged signature: the file is still named as a PSD.
    kit::psd_picture one_channel{2, 2, {{1, 2, 3, 4}}};
    std::vector<uint8_t> bytes = kit::write_psd(one_channel, false);
    write_bytes(dir / "one.psd", bytes);
    bytes[3] = 'X';
    write_bytes(dir / "bad.psd", bytes);
    const run_result bad = run(kit() + quoted((dir / "bad.psd").string()) + " " + out + " 2>&1");
    EXPECT_EQ(bad.status, 1);
    const std::string bad_text(bad.output.begin(), bad.output.end());
    EXPECT_NE(bad_text.find("not a PSD file"), std::string::npos) << bad_text;

    // One channel is taken, as by the show, but not in silence.
    const run_result one = run(kit() + quoted((dir / "one.psd").string()) + " " + out + " 2>&1");
    EXPECT_EQ(one.status, 0);
    const std::string one_text(one.output.begin(), one.output.end());
    EXPECT_NE(one_text.find("warning:"), std::string::npos) << one_text;
    EXPECT_NE(one_text.find("1 channel"), std::string::npos) << one_text;

    const run_result option =
        run(kit() + quoted((dir / "one.psd").string()) + " " + out + " --format 999 2>&1");
    EXPECT_EQ(option.status, 2);
    const std::string option_text(option.output.begin(), option.output.end());
    EXPECT_NE(option_text.find("usage: vilora-kit picture"), std::string::npos) << option_text;
}

TEST(PictureCommandFailures, NoInstalledFontIsReportedNotACrash) {
    scratch_dir dir;
    write_bytes(dir / "empty.conf", bytes_of("<?xml version=\"1.0\"?><fontconfig></fontconfig>\n"));
    const std::string picture = (dir / "p.bmp").string();
    ASSERT_EQ(run("convert -size 8x8 xc:gray -type TrueColor BMP3:" + quoted(picture)).status, 0);
    const run_result r =
        run("FONTCONFIG_FILE=" + quoted((dir / "empty.conf").string()) + " " + kit() +
            quoted(picture) + " " + quoted((dir / "t.png").string()) + " --text hello 2>&1");
    EXPECT_EQ(r.status, 1);
    const std::string message(r.output.begin(), r.output.end());
    EXPECT_NE(message.find("no font for \"MS SANS SERIFF\""), std::string::npos) << message;
}

} // namespace
} // namespace vilora
