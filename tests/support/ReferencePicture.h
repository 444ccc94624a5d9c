// Picture regression: a rectangle of the frame compared with a committed reference PNG under
// tests/data/pictures/, within a tolerance per channel.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane_test {

// A rectangle of the window in pixels, y downwards.
struct PixelRect {
    int x, y, w, h;
};

// The colours of a rectangle of the back buffer, read when constructed.
//
// Matches compares them with tests/data/pictures/NAME.png. Run a test with
// ORVANE_UPDATE_PICTURES=1 in the environment and Matches writes that file from what was drawn
// instead (and passes): that is how the references were made, and how a deliberate change of
// picture is recorded. A mismatch writes what was drawn to BUILD/picture-failures/NAME.png.
class ReferencePicture {
public:
    explicit ReferencePicture(PixelRect area);

    // Paints a rectangle (window coordinates) black before comparing or writing: for parts that
    // change from run to run.
    ReferencePicture& Ignore(PixelRect area);

    // Every channel of every pixel within the tolerance; otherwise the count of pixels outside
    // it and the worst difference with its window position and both colours.
    ::testing::AssertionResult Matches(const std::string& name, int tolerance = 2) const;

private:
    PixelRect area_;
    // Red, green, blue per pixel, rows from the top.
    std::vector<unsigned char> rgb_;
};

}  // namespace orvane_test
