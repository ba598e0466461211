#include "driver/command_line.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

show_options scanned(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv = {"vilora"};
    argv.insert(argv.end(), arguments);
    command_line result;
    EXPECT_FALSE(parse_command_line(static_cast<int>(argv.size()), argv.data(), result));
    return result.show;
}

TEST(CommandLine, EmptyGives240Lines) {
    show_options o = scanned({});
    EXPECT_EQ(o.width, 320);
    EXPECT_EQ(o.height, 240);
    EXPECT_FALSE(o.test_mode);
    EXPECT_TRUE(o.full_screen);
    EXPECT_EQ(o.kind, run_kind::show);
    EXPECT_FALSE(o.calm) << "the finale as made unless asked";
    o = scanned({"--calm", "0"});
    EXPECT_TRUE(o.calm);
    EXPECT_EQ(o.height, 200);
}

TEST(CommandLine, LaterCharactersOverrideEarlierOnes) {
    EXPECT_EQ(scanned({"1", "0"}).height, 200);
    EXPECT_EQ(scanned({"10"}).height, 200);
    EXPECT_EQ(scanned({"0"}).height, 200);
    EXPECT_EQ(scanned({"01"}).height, 240);
    show_options o = scanned({"0", "1", "T"});
    EXPECT_EQ(o.height, 240);
    EXPECT_TRUE(o.test_mode);
    o = scanned({"-T0x"});
    EXPECT_TRUE(o.test_mode);
    EXPECT_EQ(o.height, 200);
}

TEST(CommandLine, OtherCharactersChangeNothing) {
    show_options o = scanned({"abc", "t", "9", "-h"});
    EXPECT_EQ(o.height, 240);
    EXPECT_FALSE(o.test_mode) << "only a capital T";
}

TEST(CommandLine, OptionsAreNotScanned) {
    std::vector<const char*> argv = {"vilora", "--capture", "out0",  "--every", "10", "--seed",
                                     "7",      "--part",    "obw:1", "--data",  "T1"};
    command_line result;
    ASSERT_FALSE(parse_command_line(static_cast<int>(argv.size()), argv.data(), result));
    EXPECT_EQ(result.show.kind, run_kind::capture);
    EXPECT_EQ(result.capture_directory, "out0");
    EXPECT_EQ(result.every, 10);
    EXPECT_EQ(result.show.seed, 7u);
    EXPECT_EQ(result.data_directory, "T1");
    EXPECT_EQ(result.show.height, 240) << "option values are not scanned";
    EXPECT_FALSE(result.show.test_mode);
    ASSERT_TRUE(result.show.only_part);
    EXPECT_EQ(*result.show.only_part, (part_call{part_id::obw, 1}));
}

TEST(CommandLine, PartChoices) {
    EXPECT_EQ(parse_part_choice("oland"), (part_call{part_id::oland, 0}));
    EXPECT_EQ(parse_part_choice("oskred0:7"), (part_call{part_id::oskred0, 7}));
    EXPECT_FALSE(parse_part_choice("olandx"));
    EXPECT_FALSE(parse_part_choice("obw:"));
    EXPECT_FALSE(parse_part_choice("obw:-1"));
    EXPECT_FALSE(parse_part_choice("obw:99999999999"));
}

TEST(CommandLine, StartPositions) {
    EXPECT_EQ(parse_start_position("29"), (show_position{29, 0}));
    EXPECT_EQ(parse_start_position("23:96"), (show_position{23, 96}));
    EXPECT_EQ(parse_start_position("0:255"), (show_position{0, 255}));
    EXPECT_EQ(parse_start_position("66"), (show_position{66, 0}));
    for (const char* bad : {"67", "23:256", "", ":3", "5:", "-1", "1:2:3", "x", "99999999999"})
        EXPECT_FALSE(parse_start_position(bad)) << bad;
}

TEST(CommandLine, RecordingTakesAFileAndAScale) {
    std::vector<const char*> argv = {"vilora", "--record", "show.mp4", "--scale",
                                     "2",      "--start",  "40:8"};
    command_line result;
    ASSERT_FALSE(parse_command_line(static_cast<int>(argv.size()), argv.data(), result));
    EXPECT_EQ(result.show.kind, run_kind::record);
    EXPECT_EQ(result.record_file, "show.mp4");
    EXPECT_EQ(result.show.scale, 2);
    EXPECT_EQ(result.show.start, (show_position{40, 8}));
    EXPECT_EQ(scanned({}).start, std::nullopt);
}

TEST(CommandLine, BadOptionsEndWithAStatus) {
    for (auto argv :
         std::vector<std::vector<const char*>>{{"vilora", "--nope"},
                                               {"vilora", "--part", "xyz"},
                                               {"vilora", "--bench", "--capture", "d"},
                                               {"vilora", "--record", "a.mkv", "--capture", "d"},
                                               {"vilora", "--every", "0"},
                                               {"vilora", "--start", "70"},
                                               {"vilora", "--start", "3:x"},
                                               {"vilora", "--scale", "0"},
                                               {"vilora", "--scale", "9"}}) {
        command_line result;
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        auto status = parse_command_line(static_cast<int>(argv.size()), argv.data(), result);
        ::testing::internal::GetCapturedStdout();
        ::testing::internal::GetCapturedStderr();
        const std::string given = argv[1] + std::string(" ") + argv.back();
        ASSERT_TRUE(status) << given;
        EXPECT_NE(*status, 0) << given;
    }
}

} // namespace
} // namespace vilora
