#include "platform/display/internal/video_memory.h"
#include "platform/display/surface.h"

#include "tests/support/test_display.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace vilora {
namespace {

using testing::test_display;

uint16_t pixel16(const surface& s, int x, int y) {
    return *reinterpret_cast<const uint16_t*>(s.pixels + y * s.pitch + x * 2);
}

void set16(surface& s, int x, int y, uint16_t v) {
    *reinterpret_cast<uint16_t*>(s.pixels + y * s.pitch + x * 2) = v;
}

// A picture whose every pixel tells where it came from: 1 + column + 64 * row.
std::unique_ptr<surface> numbered_picture(display_device& d, int width, int height) {
    auto s = std::make_unique<surface>();
    EXPECT_EQ(s->create_surface(&d, picture_surface_kind, width, height), 0);
    EXPECT_EQ(s->lock(), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) set16(*s, x, y, static_cast<uint16_t>(1 + x + 64 * y));
    s->unlock();
    return s;
}

// Rows and columns of the back surface that the picture covered, as source coordinates.
struct covered {
    int min_x = 1 << 30, max_x = -1, min_y = 1 << 30, max_y = -1;
    int src_x0 = -1, src_y0 = -1; // source of the top-left covered pixel
};

covered what_was_drawn(surface& back) {
    covered c;
    back.lock();
    for (int y = 0; y < back.height; ++y)
        for (int x = 0; x < back.width; ++x) {
            uint16_t v = pixel16(back, x, y);
            if (!v) continue;
            if (c.src_x0 < 0) {
                c.src_x0 = (v - 1) % 64;
                c.src_y0 = (v - 1) / 64;
            }
            c.min_x = std::min(c.min_x, x);
            c.max_x = std::max(c.max_x, x);
            c.min_y = std::min(c.min_y, y);
            c.max_y = std::max(c.max_y, y);
        }
    back.unlock();
    return c;
}

TEST(SurfaceBlit, ClipsToThePictureAreaOfA240LineScreen) {
    test_display t(320, 240, 16);
    t.display.clip = clip_rect{0, 20, 320, 220};
    auto picture = numbered_picture(t.display, 64, 64);

    // At x = -10 source columns 10..63 land at x = 0..53.
    picture->blit_to(t.display.back.get(), -10, 50, 0, 0, 64, 64);
    covered c = what_was_drawn(*t.display.back);
    EXPECT_EQ(c.min_x, 0);
    EXPECT_EQ(c.max_x, 53);
    EXPECT_EQ(c.src_x0, 10);
    EXPECT_EQ(c.min_y, 50);
    EXPECT_EQ(c.max_y, 113);

    // At y = 200 source rows 0..19 land on rows 200..219.
    t.display.back->clear(0);
    picture->blit_to(t.display.back.get(), 100, 200, 0, 0, 64, 64);
    c = what_was_drawn(*t.display.back);
    EXPECT_EQ(c.min_y, 200);
    EXPECT_EQ(c.max_y, 219);
    EXPECT_EQ(c.src_y0, 0);
    EXPECT_EQ(c.min_x, 100);
    EXPECT_EQ(c.max_x, 163);

    // Above the area: rows cut from the top.
    t.display.back->clear(0);
    picture->blit_to(t.display.back.get(), 0, 0, 0, 0, 64, 64);
    c = what_was_drawn(*t.display.back);
    EXPECT_EQ(c.min_y, 20);
    EXPECT_EQ(c.src_y0, 20);
    EXPECT_EQ(c.max_y, 63);
}

TEST(SurfaceBlit, OutsideTheAreaOrAtAbsurdPositionsDrawsNothing) {
    test_display t(320, 240, 16);
    t.display.clip = clip_rect{0, 20, 320, 220};
    auto picture = numbered_picture(t.display, 64, 64);
    for (auto [x, y] : {std::pair{400, 50},
                        {-64, 50},
                        {10, 220},
                        {10, -44},
                        {INT32_MAX, 0},
                        {INT32_MIN, 0},
                        {0, INT32_MIN},
                        {0, INT32_MAX}}) {
        picture->blit_to(t.display.back.get(), x, y, 0, 0, 64, 64);
        EXPECT_EQ(what_was_drawn(*t.display.back).max_x, -1) << x << "," << y;
    }
}

TEST(SurfaceBlit, StaysInsideADestinationSmallerThanTheClip) {
    test_display t(320, 240, 16);
    auto picture = numbered_picture(t.display, 64, 64);
    auto small = numbered_picture(t.display, 8, 8);
    small->clear(0);
    // The clip (the whole screen) is far larger than the 8x8 destination.
    picture->blit_to(small.get(), 4, 4, 0, 0, 64, 64);
    small->lock();
    EXPECT_EQ(pixel16(*small, 4, 4), 1);
    EXPECT_EQ(pixel16(*small, 7, 7), 1 + 3 + 64 * 3);
    EXPECT_EQ(pixel16(*small, 3, 3), 0);
    small->unlock();
}

TEST(SurfaceBlit, ColourKeyLeavesBlackPixelsOut) {
    test_display t(320, 240, 16);
    auto picture = numbered_picture(t.display, 4, 1);
    picture->lock();
    set16(*picture, 1, 0, 0); // black: the key
    set16(*picture, 2, 0, 1); // the darkest blue is drawn
    picture->unlock();
    picture->set_colour_key(0);
    t.display.back->fill_rect(0, 0, 4, 1, 0x1234);

    picture->blit_to(t.display.back.get(), 0, 0, 0, 0, 4, 1);
    t.display.back->lock();
    EXPECT_EQ(pixel16(*t.display.back, 1, 0), 0) << "not keyed: black is copied";
    t.display.back->unlock();

    t.display.back->fill_rect(0, 0, 4, 1, 0x1234);
    picture->flags |= surface_colour_keyed;
    picture->blit_to(t.display.back.get(), 0, 0, 0, 0, 4, 1);
    t.display.back->lock();
    EXPECT_EQ(pixel16(*t.display.back, 0, 0), 1);
    EXPECT_EQ(pixel16(*t.display.back, 1, 0), 0x1234);
    EXPECT_EQ(pixel16(*t.display.back, 2, 0), 1);
    t.display.back->unlock();
}

TEST(SurfaceBlit, KeyCoversOnlyTheColourBytesOfA32BitPixel) {
    test_display t(320, 240, 32);
    auto picture = std::make_unique<surface>();
    ASSERT_EQ(picture->create_surface(&t.display, picture_surface_kind, 2, 1), 0);
    picture->lock();
    reinterpret_cast<uint32_t*>(picture->pixels)[0] = 0xFF000000u; // black with a top byte
    reinterpret_cast<uint32_t*>(picture->pixels)[1] = 0x00010203u;
    picture->unlock();
    picture->set_colour_key(0);
    picture->flags |= surface_colour_keyed;
    t.display.back->clear(0x00ABCDEF);
    picture->blit_to(t.display.back.get(), 0, 0, 0, 0, 2, 1);
    t.display.back->lock();
    auto* row = reinterpret_cast<uint32_t*>(t.display.back->pixels);
    EXPECT_EQ(row[0], 0x00ABCDEFu);
    EXPECT_EQ(row[1], 0x00010203u);
    t.display.back->unlock();
}

TEST(SurfaceLock, LockAndUnlockAreIdempotent) {
    test_display t(320, 240, 16);
    surface& back = *t.display.back;
    ASSERT_EQ(back.lock(), 0);
    uint8_t* pixels = back.pixels;
    int32_t pitch = back.pitch;
    EXPECT_EQ(back.flags & surface_locked, surface_locked);
    EXPECT_EQ(back.lock(), 0);
    EXPECT_EQ(back.pixels, pixels);
    EXPECT_EQ(back.pitch, pitch);
    EXPECT_GE(pitch, 640);
    EXPECT_EQ(back.unlock(), 0);
    EXPECT_EQ(back.flags & surface_locked, 0);
    EXPECT_EQ(back.unlock(), 0);
}

TEST(SurfaceLock, DeviceContextAndLockAreHeldIndependently) {
    test_display t(320, 240, 16);
    surface& back = *t.display.back;
    ASSERT_EQ(back.get_dc(), 0);
    ASSERT_NE(back.dc, nullptr);
    EXPECT_EQ(back.dc->width, 320);
    ASSERT_EQ(back.lock(), 0);
    EXPECT_EQ(back.dc->pixels, back.pixels);
    EXPECT_EQ(back.get_dc(), 0);
    EXPECT_EQ(back.release_dc(), 0);
    EXPECT_EQ(back.dc, nullptr);
    EXPECT_EQ(back.flags & (surface_dc_held | surface_locked), surface_locked);
    EXPECT_EQ(back.release_dc(), 0);
    back.unlock();
}

TEST(LostSurface, IsRestoredAndTheCallRetriedOnce) {
    test_display t(320, 240, 16);
    surface& back = *t.display.back;
    back.clear(0x1111);
    t.scope.host->lose_display();
    ASSERT_EQ(back.lock(), 0);
    EXPECT_EQ(back.platform->restores, 1);
    // Display memory comes back undefined: the old pixels are gone.
    EXPECT_NE(pixel16(back, 5, 5), 0x1111);
    back.unlock();
    EXPECT_EQ(back.platform->restores, 1);
}

// The parts redraw the picture area only: around it the restored chain must
// be black as after the mode set, inside it undefined until redrawn.
TEST(LostSurface, TheRestoredChainIsBlackAroundThePictureArea) {
    test_display t(320, 240, 16);
    t.display.clip = clip_rect{0, 20, 320, 220};
    t.display.front->clear(0x1111);
    t.display.back->clear(0x1111);
    t.scope.host->lose_display();
    surface& back = *t.display.back;
    ASSERT_EQ(back.lock(), 0);
    for (int y : {0, 19, 220, 239})
        for (int x : {0, 160, 319}) EXPECT_EQ(pixel16(back, x, y), 0) << x << "," << y;
    EXPECT_NE(pixel16(back, 160, 20), 0);
    EXPECT_NE(pixel16(back, 160, 20), 0x1111);
    back.unlock();
    // The front surface came back with the chain.
    surface& front = *t.display.front;
    ASSERT_EQ(front.lock(), 0);
    EXPECT_EQ(pixel16(front, 5, 5), 0);
    EXPECT_EQ(pixel16(front, 5, 230), 0);
    front.unlock();
}

TEST(LostSurface, ASecondFailureIsReturned) {
    test_display t(320, 240, 16);
    surface& back = *t.display.back;
    t.scope.host->keep_losing = true;
    EXPECT_EQ(back.lock(), surface_lock_failed);
    EXPECT_EQ(back.platform->restores, 1) << "exactly one retry";
    EXPECT_EQ(back.flags & surface_locked, 0) << "a failed call leaves the flags";
    EXPECT_EQ(back.clear(0), surface_fill_failed);
    EXPECT_EQ(back.get_dc(), surface_get_dc_failed);
    EXPECT_EQ(back.flags & surface_dc_held, 0);
    EXPECT_EQ(back.fill_rect(0, 0, 10, 10, 5), surface_fill_failed);
}

TEST(LostSurface, PicturesInSystemMemoryKeepTheirPixels) {
    test_display t(320, 240, 16);
    auto picture = numbered_picture(t.display, 8, 8);
    t.scope.host->lose_display();
    EXPECT_TRUE(picture->platform->is_lost());
    // The fast copy restores both surfaces and copies once more.
    picture->blit_to(t.display.back.get(), 0, 0, 0, 0, 8, 8);
    EXPECT_FALSE(picture->platform->is_lost());
    EXPECT_EQ(picture->platform->restores, 1);
    EXPECT_EQ(t.display.back->platform->restores, 1);
    t.display.back->lock();
    EXPECT_EQ(pixel16(*t.display.back, 7, 7), 1 + 7 + 64 * 7);
    t.display.back->unlock();
}

TEST(SurfaceCreate, PicturesFollowTheDisplay) {
    test_display t(320, 240, 16);
    surface s;
    ASSERT_EQ(s.create_surface(&t.display, picture_surface_kind, 37, 5), 0);
    EXPECT_EQ(s.owner, &t.display);
    EXPECT_EQ(s.width, 37);
    EXPECT_EQ(s.height, 5);
    EXPECT_EQ(s.clip, &t.display.clip);
    EXPECT_EQ(s.surface_kind, picture_surface_kind);
    EXPECT_EQ(s.flags & surface_locked, 0) << "locked and unlocked once after creation";
    s.attach_alpha_map();
    ASSERT_TRUE(s.alpha_map);
    EXPECT_EQ(s.alpha_map[37 * 5 - 1], 0);

    surface bad;
    EXPECT_EQ(bad.create_surface(&t.display, picture_surface_kind, 0, 5), surface_create_failed);
    EXPECT_EQ(bad.create_surface(&t.display, picture_surface_kind, 5, -1), surface_create_failed);
    EXPECT_EQ(bad.create_surface(nullptr, picture_surface_kind, 5, 5), surface_create_failed);
    EXPECT_EQ(bad.lock(), surface_lock_failed);
}

TEST(SurfaceCreate, ReleaseFreesAnOwnedClip) {
    test_display t(320, 240, 16);
    surface s;
    ASSERT_EQ(s.create_surface(&t.display, picture_surface_kind, 4, 4), 0);
    s.clip = new clip_rect{0, 0, 4, 4};
    s.flags |= surface_clip_owned;
    s.set_clip(&t.display.clip); // frees the owned one (ASan would report a leak)
    EXPECT_EQ(s.flags & surface_clip_owned, 0);
    EXPECT_EQ(s.clip, &t.display.clip);
    s.release();
    EXPECT_EQ(s.platform, nullptr);
    EXPECT_EQ(s.owner, nullptr);
}

TEST(SurfaceFill, FillsOnlyTheRectangleInTheSurfaceFormat) {
    test_display t(320, 240, 24);
    surface& back = *t.display.back;
    ASSERT_EQ(back.fill_rect(2, 1, 4, 2, 0x123456), 0);
    EXPECT_EQ(back.fill_rect(-50, -50, -10, -10, 1), surface_fill_failed);
    back.lock();
    const uint8_t* row = back.pixels + back.pitch;
    EXPECT_EQ(row[3 * 1 + 2], 0);
    EXPECT_EQ(row[3 * 2 + 0], 0x56);
    EXPECT_EQ(row[3 * 2 + 1], 0x34);
    EXPECT_EQ(row[3 * 2 + 2], 0x12);
    EXPECT_EQ(row[3 * 3 + 2], 0x12);
    EXPECT_EQ(row[3 * 4], 0);
    back.unlock();
}

TEST(SurfacePalette, OnlyAPaletteObjectIsAccepted) {
    test_display t(320, 240, 8);
    surface s;
    ASSERT_EQ(s.create_surface(&t.display, picture_surface_kind, 4, 4), 0);
    EXPECT_EQ(s.set_palette(nullptr), surface_palette_failed);
    EXPECT_EQ(s.set_palette(t.display.screen_palette.get()), 0);
    EXPECT_EQ(s.platform->palette(), t.display.screen_palette->entries);
}

} // namespace
} // namespace vilora
