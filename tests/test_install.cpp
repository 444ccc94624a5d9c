// The engine as a library: a fresh install prefix, a game in its own CMake project configured
// and built against it with find_package(Orvane), and the game run headless.
#include <cstdlib>
#include <string>

#include "support/TestSupport.h"

using orvane_test::Shell;

TEST(InstalledEngine, AnExternalGameBuildsAgainstAFreshInstallAndRuns) {
    char prefixTemplate[] = "/tmp/orvane-install-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(prefixTemplate));
    const std::string prefix = prefixTemplate;
    const std::string game = prefix + "/game";

    std::string install = Shell("cmake --install '" ORVANE_BINARY_DIR "' --prefix '" + prefix +
                                "' >/dev/null 2>&1; echo $?");
    ASSERT_EQ("0\n", install);
    EXPECT_EQ("yes\n", Shell("test -f '" + prefix + "/include/orvane/core/CApp.h' && test -f '" +
                             prefix + "/share/orvane/shaders/simpleTexture.frag' && test -f '" +
                             prefix + "/share/orvane/Data/Font/font.tga' && echo yes"));

    std::string configure = Shell("cmake -S '" ORVANE_SOURCE_DIR "/examples/external' -B '" + game +
                                  "' -DCMAKE_PREFIX_PATH='" + prefix +
                                  "' -DCMAKE_BUILD_TYPE=Release 2>&1; echo status=$?");
    ASSERT_NE(std::string::npos, configure.find("status=0")) << configure;
    std::string build = Shell("cmake --build '" + game + "' 2>&1; echo status=$?");
    ASSERT_NE(std::string::npos, build.find("status=0")) << build;

    // The game is one of our programs: in a sanitizer build it gets the same preload as the
    // test itself (Shell drops it for the tools).
    const char* preload = std::getenv("LD_PRELOAD");
    std::string env = preload != nullptr ? std::string("LD_PRELOAD='") + preload + "' " : "";
    std::string run =
        Shell("cd '" + game + "' && " + env + "./external_game --frames 20 2>&1; echo status=$?");
    EXPECT_NE(std::string::npos, run.find("Loading Font: Data/Font/font.tga")) << run;
    EXPECT_NE(std::string::npos, run.find("status=0")) << run;
    Shell("rm -rf '" + prefix + "'");
}
