// vilora-kit's commands refuse what they cannot take in the same words as
// vilora: what the option or argument wants and what it got, then the usage
// line, with exit status 2, never the parser's own text.
#include "tests/support/external_tools.h"

#include <gtest/gtest.h>

#include <string>

namespace vilora::testing {
namespace {

struct refused {
    std::string arguments; // after "vilora-kit", quoted for the shell where needed
    std::string words;     // the line after "vilora-kit COMMAND: "
};

TEST(KitUsage, RefusalsSayWhatIsWantedAndGiveTheUsageLine) {
    const std::string scene = quoted(std::string(VILORA_DATA_DIR) + "/hedge.3ds");
    const std::string frame = "--frame wants a frame of the scene, a number from its start frame "
                              "up to (not including) its end frame";
    const refused cases[] = {
        {"scene --frame -1 " + scene, frame + ", not '-1'"},
        {"scene --frame nan " + scene, frame + ", not 'nan'"},
        {"scene --frame inf " + scene, frame + ", not 'inf'"},
        {"scene --frame '' " + scene, frame + ", not ''"},
        {"scene --frame 1e30 " + scene, frame + " (here 0 up to 40), not '1e30'"},
        {"scene --frame 40 " + scene, frame + " (here 0 up to 40), not '40'"},
        {"scene --frame= " + scene, frame + ", not ''"},
        {"scene --frame --json " + scene, frame + ", not '--json'"},
        {"scene --frame", frame + " after it"},
        {"scene --json=1 " + scene, "--json takes no value, not '1'"},
        {"scene", "FILE is missing: 3DS scene file"},
        {"scene " + scene + " more", "unexpected argument 'more'"},
        {"lib", "a command is missing: create, list, extract"},
        {"lib list", "archive is missing: the archive to read"},
        {"picture --format 9 a.bmp b.png", "--format wants one of 565,555,8888,888,8, not '9'"},
        {"picture --at 1 a.bmp b.png", "--at wants 2 values joined by ',' after it"},
        {"picture --colour red a.bmp b.png", "--colour wants a whole number, 0 or more, not 'red'"},
        {"picture --colour '' a.bmp b.png", "--colour wants a whole number, 0 or more, not ''"},
    };
    for (const refused& c : cases) {
        const run_result r = run(quoted(VILORA_KIT) + " " + c.arguments + " 2>&1 >/dev/null");
        const std::string command = "vilora-kit " + c.arguments.substr(0, c.arguments.find(' '));
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_EQ(std::string(r.output.begin(), r.output.end()),
                  command + ": " + c.words + "\nusage: " + command +
                      " [OPTIONS]... (see --help)\n");
    }
    EXPECT_EQ(run(quoted(VILORA_KIT) + " scene --frame 39.5 " + scene + " >/dev/null").status, 0);
}

} // namespace
} // namespace vilora::testing
