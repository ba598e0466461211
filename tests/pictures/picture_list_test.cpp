#include "engine/engine.h"
#include "kit/formats/library_writer.h"
#include "library/library_file.h"
#include "pictures/picture_list.h"
#include "tests/library/library_test_support.h"
#include "tests/pictures/picture_bytes.h"
#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <string>

namespace vilora {
namespace {

using namespace vilora::testing;

// A grey picture `width` pixels wide: widths tell the pictures apart.
std::vector<uint8_t> bmp_of_width(int32_t width) {
    bmp_spec spec{width, 2, 24, 0, 40, {}, {}};
    spec.pixels.assign(static_cast<size_t>((width * 3 + 3) / 4 * 4 * 2), 0x80);
    return bmp_bytes(spec);
}

class PictureList : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
        write_bytes(dir / name, bytes);
        return (dir / name).string();
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    test_display screen;
    scratch_dir dir;
    picture_list list;
};

TEST_F(PictureList, PicturesAreIndexedInOrderOfAdding) {
    EXPECT_EQ(list.add_picture(&screen.display, write("a.bmp", bmp_of_width(7)).c_str(), 0, 0), 0);
    for (int i = 0; i < 3; ++i) write("f" + std::to_string(i) + ".bmp", bmp_of_width(i + 1));
    EXPECT_EQ(list.add_picture_sequence(&screen.display, path("f%d.bmp").c_str(), 3, 0, 0), 1);
    ASSERT_EQ(list.picture_count(), 4);
    EXPECT_EQ(list.picture_surface(0)->width, 7);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list.picture_surface(i + 1)->width, i + 1) << i;
    EXPECT_EQ(list.picture_surface(4), nullptr);
    EXPECT_EQ(list.picture_surface(-1), nullptr);
}

TEST_F(PictureList, ASequenceStopsAtItsFirstMissingMemberAndKeepsThoseBefore) {
    write("x0.bmp", bmp_of_width(1));
    write("x1.bmp", bmp_of_width(2));
    write("x3.bmp", bmp_of_width(4));
    EXPECT_EQ(list.add_picture_sequence(&screen.display, path("x%d.bmp").c_str(), 4, 0, 0), -1);
    EXPECT_EQ(list.picture_count(), 2);
    EXPECT_EQ(list.picture_surface(1)->width, 2);
    EXPECT_EQ(list.add_picture_sequence(&screen.display, path("x%d.bmp").c_str(), 0, 0, 0), -1);
    // A name that does not fit 255 characters is refused, not cut.
    const std::string long_pattern = path(std::string(300, 'n') + "%d.bmp");
    EXPECT_EQ(list.add_picture_sequence(&screen.display, long_pattern.c_str(), 2, 0, 0), -1);
    EXPECT_EQ(list.picture_count(), 2);
}

TEST_F(PictureList, FailedAdditionsAddNothing) {
    std::vector<uint8_t> not_bmp = bmp_of_width(3);
    not_bmp[0] = 'C';
    bmp_spec four_bit{4, 4, 4, 0, 40, {}, std::vector<uint8_t>(16, 0x12)};
    const psd_spec deep{1, 3, 1, 1, 16, 3, 0, 0, std::vector<uint8_t>(6, 0)};
    const psd_spec cmyk{1, 4, 1, 1, 8, 4, 0, 0, std::vector<uint8_t>(4, 0)};

    EXPECT_EQ(list.add_picture(&screen.display, write("c.bmp", not_bmp).c_str(), 0, 0), -1);
    EXPECT_EQ(list.add_picture(&screen.display, write("4.bmp", bmp_bytes(four_bit)).c_str(), 0, 0),
              -1);
    EXPECT_EQ(list.add_picture(&screen.display, path("missing.bmp").c_str(), 0, 0), -1);
    EXPECT_EQ(list.add_psd_picture(&screen.display, write("deep.psd", psd_bytes(deep)).c_str()),
              -1);
    EXPECT_EQ(list.add_psd_picture(&screen.display, write("cmyk.psd", psd_bytes(cmyk)).c_str()),
              -1);
    EXPECT_EQ(list.add_picture(nullptr, write("ok.bmp", bmp_of_width(2)).c_str(), 0, 0), -1);
    EXPECT_EQ(list.picture_count(), 0);
    EXPECT_EQ(list.add_picture(&screen.display, path("ok.bmp").c_str(), 0, 0), 0);
}

TEST_F(PictureList, BmpPicturesAreKeyedOnBlackByBitZeroAndPsdPicturesNever) {
    const std::string name = write("k.bmp", bmp_of_width(2));
    const psd_spec psd{1, 3, 1, 1, 8, 3, 0, 0, {1, 2, 3}};
    ASSERT_EQ(list.add_picture(&screen.display, name.c_str(), 0, 1), 0);
    ASSERT_EQ(list.add_picture(&screen.display, name.c_str(), 0, 2), 1);
    ASSERT_EQ(list.add_psd_picture(&screen.display, write("p.psd", psd_bytes(psd)).c_str()), 2);
    EXPECT_TRUE(list.picture_surface(0)->flags & surface_colour_keyed);
    EXPECT_EQ(list.picture_surface(0)->colour_key, 0u);
    EXPECT_FALSE(list.picture_surface(1)->flags & surface_colour_keyed);
    EXPECT_FALSE(list.picture_surface(2)->flags & surface_colour_keyed);
    EXPECT_TRUE(list.picture_surface(2)->alpha_map);
    EXPECT_FALSE(list.picture_surface(0)->alpha_map);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.picture_surface(i)->surface_kind, picture_surface_kind) << i;
}

TEST_F(PictureList, WithALibraryOpenNamesAreLookedUpThereOnly) {
    kit::library_writer writer;
    ASSERT_TRUE(writer.add_member("torture.bmp", bmp_of_width(5)));
    ASSERT_TRUE(writer.add_member("f0.bmp", bmp_of_width(6)));
    ASSERT_TRUE(writer.add_member("f1.bmp", bmp_of_width(8), true));
    ASSERT_TRUE(writer.write(path("robot1.782")));
    const std::string on_disk = write("disk.bmp", bmp_of_width(3));
    write("torture.bmp", bmp_of_width(9));

    ASSERT_TRUE(open_library(path("robot1.782").c_str()));
    EXPECT_EQ(list.add_picture(&screen.display, on_disk.c_str(), 0, 0), -1);
    EXPECT_EQ(list.add_picture(&screen.display, "TORTURE.BMP", 0, 0), 0);
    EXPECT_EQ(list.add_picture_sequence(&screen.display, "f%d.bmp", 2, 0, 0), 1);
    EXPECT_EQ(list.add_psd_picture(&screen.display, "missing.psd"), -1);
    close_library();

    ASSERT_EQ(list.picture_count(), 3);
    EXPECT_EQ(list.picture_surface(0)->width, 5); // the library's, not the file's 9
    EXPECT_EQ(list.picture_surface(1)->width, 6);
    EXPECT_EQ(list.picture_surface(2)->width, 8);
}

TEST(FileExists, TellsWhetherAFileOpensForReading) {
    scratch_dir dir;
    write_bytes(dir / "here.3ds", {1, 2, 3});
    EXPECT_TRUE(file_exists((dir / "here.3ds").string().c_str()));
    EXPECT_FALSE(file_exists((dir / "gone.3ds").string().c_str()));
    EXPECT_FALSE(file_exists(nullptr));
}

} // namespace
} // namespace vilora
