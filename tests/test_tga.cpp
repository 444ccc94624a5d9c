// The TGA reader: decoding from bytes in memory (no context needed), its failure lines, and the
// upload of a picture whose rows do not fill whole 4-byte words.
#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/CEngine.h"
#include "support/TestSupport.h"
#include "textures/CTgaImage.h"

using orvane_test::EngineTest;
using orvane_test::PixelNear;
using orvane_test::StreamCapture;

namespace {

using Bytes = std::vector<unsigned char>;

// The 18-byte header of a true-colour picture; tests poke single bytes for the odd cases.
Bytes Header(int type, int width, int height, int bits, int idLength = 0) {
    return Bytes{static_cast<unsigned char>(idLength),
                 0,
                 static_cast<unsigned char>(type),
                 0,
                 0,
                 0,
                 0,
                 0,
                 0,
                 0,
                 0,
                 0,
                 static_cast<unsigned char>(width & 0xFF),
                 static_cast<unsigned char>(width >> 8),
                 static_cast<unsigned char>(height & 0xFF),
                 static_cast<unsigned char>(height >> 8),
                 static_cast<unsigned char>(bits),
                 0};
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Outcome {
    bool ok;
    std::string log;
};

Outcome Decode(CTgaImage& image, const Bytes& bytes, const char* name = "pic.tga") {
    static unsigned char none = 0;
    void* data = bytes.empty() ? &none : const_cast<unsigned char*>(bytes.data());
    std::FILE* file = orvane_test::MemoryFile(data, bytes.size());
    StreamCapture capture;
    bool ok = image.Decode(file, name);
    return Outcome{ok, capture.Text()};
}

Bytes Pixels(const CTgaImage& image) {
    if (image.GetPixels() == nullptr) {
        return Bytes();
    }
    return Bytes(image.GetPixels(), image.GetPixels() + image.GetImageSize());
}

}  // namespace

TEST(TgaDecode, UncompressedPicturesComeOutRedFirst) {
    CTgaImage image;
    Outcome out = Decode(
        image, Header(2, 2, 2, 32) + Bytes{10, 20, 30, 40, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13});
    EXPECT_TRUE(out.ok);
    EXPECT_EQ("", out.log);
    EXPECT_EQ((Bytes{30, 20, 10, 40, 3, 2, 1, 4, 7, 6, 5, 8, 12, 11, 9, 13}), Pixels(image));
    EXPECT_EQ(2u, image.GetWidth());
    EXPECT_EQ(2u, image.GetHeight());
    EXPECT_EQ(32u, image.GetBitsPerPixel());
    EXPECT_EQ(static_cast<unsigned>(GL_RGBA), image.GetFormat());

    // 24 bits, with a footer after the last pixel that the reader leaves alone.
    Outcome rgb = Decode(image, Header(2, 3, 1, 24) + Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 99, 99});
    EXPECT_TRUE(rgb.ok);
    EXPECT_EQ((Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7}), Pixels(image));
    EXPECT_EQ(static_cast<unsigned>(GL_RGB), image.GetFormat());
}

TEST(TgaDecode, RunAndRawPacketsFillThePictureAcrossRowEnds) {
    CTgaImage image;
    // One run of four fills a 2 x 2 picture.
    Outcome run = Decode(image, Header(10, 2, 2, 32) + Bytes{131, 10, 20, 30, 40});
    EXPECT_TRUE(run.ok);
    EXPECT_EQ("", run.log);
    EXPECT_EQ((Bytes{30, 20, 10, 40, 30, 20, 10, 40, 30, 20, 10, 40, 30, 20, 10, 40}),
              Pixels(image));

    // 3 x 2 at 24 bits: raw 2, a run of 3 over the end of the first row, raw 1.
    Bytes packets{1, 1, 2, 3, 4, 5, 6, 130, 7, 8, 9, 0, 10, 11, 12};
    Outcome mixed = Decode(image, Header(10, 3, 2, 24) + packets);
    EXPECT_TRUE(mixed.ok);
    EXPECT_EQ((Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 9, 8, 7, 9, 8, 7, 12, 11, 10}), Pixels(image));

    // A raw packet that runs over the row end too.
    Outcome raw =
        Decode(image, Header(10, 2, 2, 24) + Bytes{3, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4});
    EXPECT_TRUE(raw.ok);
    EXPECT_EQ((Bytes{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}), Pixels(image));
}

TEST(TgaDecode, PacketsAnnouncingTooManyPixelsFailWithoutOverrunning) {
    CTgaImage image;
    // A run of five for four pixels; AddressSanitizer builds catch any write past the buffer.
    Outcome run = Decode(image, Header(10, 2, 2, 32) + Bytes{132, 1, 2, 3, 4}, "big.tga");
    EXPECT_FALSE(run.ok);
    EXPECT_EQ("Too many pixels read: big.tga\n", run.log);
    EXPECT_EQ(nullptr, image.GetPixels());

    // A complete picture followed by a packet too many still stops after the full picture.
    Outcome exact = Decode(image, Header(10, 2, 1, 24) + Bytes{129, 1, 2, 3, 128, 4, 5, 6});
    EXPECT_TRUE(exact.ok);

    // A raw packet of five for a 2 x 2 picture.
    Bytes raw{4, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5};
    Outcome over = Decode(image, Header(10, 2, 2, 24) + raw, "raw.tga");
    EXPECT_FALSE(over.ok);
    EXPECT_EQ("Too many pixels read: raw.tga\n", over.log);
}

TEST(TgaDecode, ShortFilesFailWithTheStepThatRanOut) {
    CTgaImage image;
    EXPECT_EQ("Failed to read TGAcomment!\n", Decode(image, Bytes{}).log);
    EXPECT_EQ("Could not read file header: a.tga\n", Decode(image, Bytes{0, 0, 2, 0}, "a.tga").log);
    Bytes header = Header(2, 2, 2, 24);
    EXPECT_EQ("Could not read info header: a.tga\n",
              Decode(image, Bytes(header.begin(), header.begin() + 15), "a.tga").log);
    EXPECT_EQ("Could not read image data: a.tga\n",
              Decode(image, header + Bytes(11, 7), "a.tga").log);

    // Run-length data: ends after a whole packet, inside a raw packet, before a run's value.
    Bytes rle = Header(10, 2, 2, 24);
    EXPECT_EQ("Could not read RLE header: b.tga\n",
              Decode(image, rle + Bytes{129, 1, 2, 3}, "b.tga").log);
    EXPECT_EQ("Could not read image data: b.tga\n",
              Decode(image, rle + Bytes{2, 1, 2, 3, 4, 5}, "b.tga").log);
    EXPECT_EQ("Could not read from file: b.tga\n",
              Decode(image, rle + Bytes{129, 1, 2}, "b.tga").log);
    EXPECT_EQ(nullptr, image.GetPixels());

    // A header announcing the largest picture over a few bytes fails the same way, at once.
    EXPECT_EQ("Could not read image data: c.tga\n",
              Decode(image, Header(2, 65535, 65535, 32) + Bytes(64, 1), "c.tga").log);
    EXPECT_EQ("Could not read RLE header: c.tga\n",
              Decode(image, Header(10, 65535, 65535, 32) + Bytes{255, 1, 2, 3, 4}, "c.tga").log);
}

TEST(TgaDecode, OtherKindsOfPictureAreRefused) {
    const char* const kInvalid = "TGA file be type 2 or type 10, Invalid Image: x.tga\n";
    CTgaImage image;
    Bytes pixel{1, 2, 3};
    EXPECT_EQ(kInvalid, Decode(image, Header(3, 1, 1, 24) + pixel, "x.tga").log);
    EXPECT_EQ(kInvalid, Decode(image, Header(11, 1, 1, 24) + pixel, "x.tga").log);

    Bytes mapped = Header(1, 1, 1, 8);
    mapped[1] = 1;
    mapped[5] = 2;
    mapped[7] = 24;
    EXPECT_EQ(kInvalid, Decode(image, mapped + Bytes{1, 2, 3, 4, 5, 6, 0}, "x.tga").log);

    Bytes withMap = Header(2, 1, 1, 24);
    withMap[1] = 1;
    EXPECT_EQ(kInvalid, Decode(image, withMap + pixel, "x.tga").log);
    for (int offset : {8, 9, 10, 11}) {
        Bytes moved = Header(2, 1, 1, 24);
        moved[offset] = 1;
        EXPECT_EQ(kInvalid, Decode(image, moved + pixel, "x.tga").log) << "offset " << offset;
    }

    const char* const kBadInfo = "Invalid texture information: y.tga\n";
    EXPECT_EQ(kBadInfo, Decode(image, Header(2, 1, 1, 16) + Bytes{1, 2}, "y.tga").log);
    EXPECT_EQ(kBadInfo, Decode(image, Header(10, 1, 1, 8) + Bytes{0, 1}, "y.tga").log);
    EXPECT_EQ(kBadInfo, Decode(image, Header(2, 0, 1, 24) + pixel, "y.tga").log);
    EXPECT_EQ(kBadInfo, Decode(image, Header(2, 1, 0, 24) + pixel, "y.tga").log);
}

TEST(TgaDecode, TheImageIdFieldIsSkipped) {
    CTgaImage image;
    Outcome plain = Decode(image, Header(2, 2, 1, 24, 3) + Bytes{'I', 'D', '!', 1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(plain.ok);
    EXPECT_EQ((Bytes{3, 2, 1, 6, 5, 4}), Pixels(image));

    Outcome rle = Decode(image, Header(10, 2, 1, 32, 2) + Bytes{'h', 'i', 129, 1, 2, 3, 4});
    EXPECT_TRUE(rle.ok);
    EXPECT_EQ((Bytes{3, 2, 1, 4, 3, 2, 1, 4}), Pixels(image));

    // A file that ends inside its ID field fails at the first pixel.
    EXPECT_EQ("Could not read RLE header: z.tga\n",
              Decode(image, Header(10, 1, 1, 24, 9) + Bytes{'a', 'b'}, "z.tga").log);
}

TEST(TgaDecode, AMissingFileIsReported) {
    CTgaImage image;
    StreamCapture capture;
    EXPECT_FALSE(image.Load("Data/no-such-picture.tga"));
    EXPECT_EQ("Could not open texture file: Data/no-such-picture.tga\n", capture.Text());
}

// A directory opens like a file, and neither it nor a pipe has a size to check the header
// against: both are refused like a missing file, with the reason on standard error.
TEST(TgaDecode, ADirectoryOrAPipeIsRefusedLikeAMissingFile) {
    CTgaImage image;
    StreamCapture out;
    StreamCapture err(std::cerr);
    EXPECT_FALSE(image.Load("Data"));
    EXPECT_EQ("Could not open texture file: Data\n", out.Text());
    EXPECT_EQ("Cannot read Data: a directory, not a regular file\n", err.Text());

    out.Clear();
    err.Clear();
    // A valid 1 x 1 picture, streamed.
    std::FILE* pipe =
        orvane_test::PipeOf(std::string("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\30\0abc", 21));
    ASSERT_NE(nullptr, pipe);
    EXPECT_FALSE(image.Decode(pipe, "pipe.tga"));
    EXPECT_EQ("Could not open texture file: pipe.tga\n", out.Text());
    EXPECT_EQ("Cannot read pipe.tga: its size cannot be established\n", err.Text());
    EXPECT_EQ(nullptr, image.GetPixels());
}

class TgaUpload : public EngineTest {};

// 3 x 3 at 24 bits: rows of 9 bytes, which the default 4-byte unpack alignment would misread.
TEST_F(TgaUpload, RowsThatAreNotWholeWordsUploadAsTheyAre) {
    const unsigned char colours[9][3] = {{255, 0, 0},    {0, 255, 0},    {0, 0, 255},
                                         {255, 255, 0},  {0, 255, 255},  {255, 0, 255},
                                         {200, 100, 50}, {50, 100, 200}, {255, 255, 255}};
    Bytes file = Header(2, 3, 3, 24);
    for (const auto& c : colours) {
        file.insert(file.end(), {c[2], c[1], c[0]});
    }
    std::string path = std::string(ORVANE_BINARY_DIR) + "/odd_rows.tga";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, out);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    CTgaImage image;
    StreamCapture capture;
    ASSERT_TRUE(image.Load(path.c_str()));
    EXPECT_EQ("", capture.Text());
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(8, alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    // Each texel as a 10 x 10 block; file row 0 is the bottom of the picture (t = 0).
    glUseProgramObjectARB(0);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, image.GetTexture());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(100.0f, 100.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(130.0f, 100.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(130.0f, 130.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(100.0f, 130.0f);
    glEnd();
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const unsigned char* c = colours[row * 3 + col];
            int y = 100 + (2 - row) * 10 + 5;
            EXPECT_TRUE(PixelNear(100 + col * 10 + 5, y, c[0], c[1], c[2], 1))
                << "texel " << col << ", " << row;
        }
    }
}
