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
    // Only the modes a class draws each its own way.
    EXPECT_EQ(parse_part_choice("obw:2"), (part_call{part_id::obw, 2}));
    EXPECT_EQ(parse_part_choice("otitulek:5"), (part_call{part_id::otitulek, 5}));
    for (const char* none : {"obw:3", "obw:9", "otitulek:6", "oskred0:8", "ogreety:2", "oneco4:2",
                             "oneco2:1", "houp:1", ""})
        EXPECT_FALSE(parse_part_choice(none)) << none;
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

// What the parser said on stderr, and the status; nullopt when it took the line.
std::pair<std::optional<int>, std::string> refusal(std::vector<const char*> argv) {
    argv.insert(argv.begin(), "vilora");
    command_line result;
    ::testing::internal::CaptureStderr();
    const auto status = parse_command_line(static_cast<int>(argv.size()), argv.data(), result);
    return {status, ::testing::internal::GetCapturedStderr()};
}

constexpr const char* usage = "\nusage: vilora [0|1|T] [OPTIONS]... (see --help)\n";

// Wrong, empty and missing values get the same words, and the usage line;
// an empty value never takes the next argument in its place.
TEST(CommandLine, RefusalsSayWhatTheOptionWantsAndGiveTheUsageLine) {
    const std::string every = "vilora: --every wants a whole number from 1 to 2147483647, not ";
    const std::string part =
        "vilora: --part wants NAME[:MODE], a part and one of its modes (see --help), not ";
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--every", "x"}, every + "'x'"},
        {{"--every", "0"}, every + "'0'"},
        {{"--every", "-1"}, every + "'-1'"},
        {{"--every", "2147483648"}, every + "'2147483648'"},
        {{"--every=", "--bench"}, every + "''"},
        {{"--every", "--bench"}, every + "'--bench'"},
        {{"--seed", "4294967296"},
         "vilora: --seed wants a whole number from 0 to 4294967295, not '4294967296'"},
        {{"--scale", "1.5"}, "vilora: --scale wants a whole number from 1 to 8, not '1.5'"},
        {{"--data=", "--capture", "d"}, "vilora: --data wants a directory, not ''"},
        {{"--data", "--capture", "d"}, "vilora: --data wants a directory, not '--capture'"},
        {{"--capture"}, "vilora: --capture wants a directory after it"},
        {{"--part", "obw:9"}, part + "'obw:9'"},
        {{"--part", "nothing"}, part + "'nothing'"},
        {{"--part="}, part + "''"},
        {{"--start", "67"},
         "vilora: --start wants ORDER[:ROW], ORDER 0 to 66 and ROW 0 to 255, "
         "not '67'"},
        {{"--until="}, "vilora: --until wants ORDER[:ROW], ORDER 0 to 66 and ROW 0 to 255, not ''"},
        {{"--start", "31", "--until", "30:5"}, "vilora: --until 30:5 is not after the start, 31:0"},
        {{"--until", "0"}, "vilora: --until 0:0 is not after the start, 0:0"},
        {{"--window=maybe"}, "vilora: --window takes no value, not 'maybe'"},
        {{"--bench=1"}, "vilora: --bench takes no value, not '1'"},
        {{"--nope"}, "vilora: unknown option --nope"},
        {{"--bench", "--capture", "d"}, "vilora: --bench, --capture and --record go one at a time"},
    };
    for (const auto& [argv, words] : cases) {
        const auto [status, said] = refusal(argv);
        EXPECT_EQ(status, 2) << words;
        EXPECT_EQ(said, words + usage);
    }
}

TEST(CommandLine, WholeNumbersAndEndsAreTakenInTheirRanges) {
    std::vector<const char*> argv = {"vilora",  "--every", "2147483647", "--seed", "4294967295",
                                     "--scale", "8",       "--until",    "66:255", "--every=7"};
    command_line result;
    ASSERT_FALSE(parse_command_line(static_cast<int>(argv.size()), argv.data(), result));
    EXPECT_EQ(result.every, 7) << "the last one given";
    EXPECT_EQ(result.show.seed, 4294967295u);
    EXPECT_EQ(result.show.scale, 8);
    EXPECT_EQ(result.show.until, (show_position{66, 255}));
    argv = {"vilora", "--data=--odd", "--seed", "0", "--start", "3:4", "--until", "3:5"};
    ASSERT_FALSE(parse_command_line(static_cast<int>(argv.size()), argv.data(), result));
    EXPECT_EQ(result.data_directory, "--odd") << "a value of that form can be given with '='";
    EXPECT_EQ(result.show.seed, 0u);
    EXPECT_EQ(result.show.until, (show_position{3, 5}));
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
