// The shader program and the built-in table: the loading log, missing and broken files, and
// what each built-in program draws on Mesa.
#include <GL/glew.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/CEngine.h"
#include "render/CQuadBatch.h"
#include "shading/CShaderManager.h"
#include "shading/CShaderProgram.h"
#include "support/TestSupport.h"
#include "textures/CSprite.h"

using orvane_test::EngineTest;
using orvane_test::MakeTempDir;
using orvane_test::PixelNear;
using orvane_test::ReadFile;
using orvane_test::ReadPixel;
using orvane_test::Shell;
using orvane_test::StreamCapture;

namespace {

const char* const kBanner =
    "-------------========= Loading built in shaders ==========------------\n";

struct Row {
    const char* logLine;
    const char* vertexFile;
    const char* fragmentFile;
};

const Row kRows[10] = {
    {"Loading simple texture shader...", "shaders/simpleTexture.vert",
     "shaders/simpleTexture.frag"},
    {"Loading simple color shader...", "shaders/color.vert", "shaders/color.frag"},
    {"Loading heightmap texture shader...", "shaders/hfield.vert", "shaders/hfield.frag"},
    {"Loading Directional Per Pixel Diffuse lightning shader...", "shaders/dirPerPixel.vert",
     "shaders/dirPerPixel.frag"},
    {"Loading Directional Per Vertex Diffuse lightning shader...", "shaders/dirPerVertex.vert",
     "shaders/dirPerVertex.frag"},
    {"Loading Point Per Pixel lightning shader...", "shaders/pointlight.vert",
     "shaders/pointlight.frag"},
    {"Loading Spot Per Pixel lightning shader...", "shaders/spotlight.vert",
     "shaders/spotlight.frag"},
    {"Loading Toon shader...", "shaders/toonf2.vert", "shaders/toonf2.frag"},
    {"Loading vertex diffuse light with texture shader...", "shaders/dirPerVertexTEX.vert",
     "shaders/dirPerVertexTEX.frag"},
    {"Loading pixel diffuse light with texture shader...", "shaders/dirPerPixelTEX.vert",
     "shaders/dirPerPixelTEX.frag"},
};

// The shader section of the video set-up log: from the line before the banner to the line
// after the table.
std::string ShaderSection(const std::string& log) {
    size_t start = log.find(std::string("\n") + kBanner);
    size_t end = log.find("Loading Font: ");
    if (start == std::string::npos || end == std::string::npos || end < start) {
        return "";
    }
    return log.substr(start, end - start);
}

GLint ObjectStatus(GLhandleARB object, GLenum name) {
    GLint status = -1;
    glGetObjectParameterivARB(object, name, &status);
    return status;
}

// The shader objects attached to a program, vertex first as attached.
std::vector<GLhandleARB> Attached(GLhandleARB program) {
    GLhandleARB objects[4] = {0, 0, 0, 0};
    GLsizei count = 0;
    glGetAttachedObjectsARB(program, 4, &count, objects);
    return std::vector<GLhandleARB>(objects, objects + count);
}

std::string SourceOf(GLhandleARB shader) {
    GLint length = 0;
    glGetObjectParameterivARB(shader, GL_OBJECT_SHADER_SOURCE_LENGTH_ARB, &length);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    glGetShaderSourceARB(shader, length + 1, nullptr, text.data());
    return std::string(text.data());
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Runs a test body from a temporary copy of the data directories and returns to the
// repository afterwards.
class TempDataDir {
public:
    TempDataDir() {
        path_ = MakeTempDir("orvane_shaders");
        Shell("cp -r '" ORVANE_SOURCE_DIR "/shaders' '" + path_ + "/'");
        Shell("[ -d '" ORVANE_SOURCE_DIR "/Data' ] && cp -r '" ORVANE_SOURCE_DIR "/Data' '" +
              path_ + "/' ; true");
    }
    ~TempDataDir() {
        if (chdir(ORVANE_SOURCE_DIR) != 0) {
            ADD_FAILURE() << "cannot return to the repository";
        }
        Shell("rm -rf '" + path_ + "'");
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Start-up and video set-up with both streams captured, standard output from the video set-up
// on.
struct CapturedVideoSetUp {
    StreamCapture out;
    StreamCapture err{std::cerr};
    CEngine engine;
    CapturedVideoSetUp() {
        out.Clear();
        engine.SetVideoMode(640, 480, 16, false, true);
    }
};

}  // namespace

TEST(ShaderTable, AllTenLoadInOrderCompileLinkAndLogExactly) {
    StreamCapture out;
    StreamCapture err(std::cerr);
    CEngine engine;
    EXPECT_EQ(nullptr, g_pShaderManager->GetProgram(0)) << "nothing before the video set-up";
    out.Clear();
    engine.SetVideoMode(640, 480, 16, false, true);

    std::string expected = std::string("\n") + kBanner + "\n";
    for (const Row& row : kRows) {
        expected += std::string(row.logLine) + "\n";
    }
    expected += "\n";
    // The section starts right after the OpenGL version line.
    std::string log = out.Text();
    std::string versionLine = std::string("Detected OpenGL version: ") +
                              reinterpret_cast<const char*>(glGetString(GL_VERSION)) + "\n";
    EXPECT_NE(std::string::npos, log.find(versionLine + expected + "Loading Font: "));
    EXPECT_EQ(expected, ShaderSection(log));

    ASSERT_EQ(10, g_pShaderManager->GetProgramCount());
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(kRows[i].logLine);
        CShaderProgram* program = g_pShaderManager->GetProgram(i);
        ASSERT_NE(nullptr, program);
        GLhandleARB handle = program->GetHandle();
        ASSERT_NE(0u, handle);
        EXPECT_EQ(GL_TRUE, ObjectStatus(handle, GL_OBJECT_LINK_STATUS_ARB));
        std::vector<GLhandleARB> shaders = Attached(handle);
        ASSERT_EQ(2u, shaders.size());
        EXPECT_EQ(GL_TRUE, ObjectStatus(shaders[0], GL_OBJECT_COMPILE_STATUS_ARB));
        EXPECT_EQ(GL_TRUE, ObjectStatus(shaders[1], GL_OBJECT_COMPILE_STATUS_ARB));
        // Each index holds the program built from its own two files.
        EXPECT_EQ(ReadFile(kRows[i].vertexFile), SourceOf(shaders[0]));
        EXPECT_EQ(ReadFile(kRows[i].fragmentFile), SourceOf(shaders[1]));
    }
    EXPECT_EQ(nullptr, g_pShaderManager->GetProgram(10));
    EXPECT_EQ(nullptr, g_pShaderManager->GetProgram(-1));
    EXPECT_EQ("", err.Text()) << "no shader reported a compile or link failure";
}

TEST(ShaderTable, AMissingFileKeepsEveryLaterProgramAtItsIndex) {
    TempDataDir dir;
    ASSERT_EQ(0, std::remove((dir.Path() + "/shaders/hfield.vert").c_str()));
    ASSERT_EQ(0, chdir(dir.Path().c_str()));

    CapturedVideoSetUp run;

    std::string expected = std::string("\n") + kBanner + "\n";
    for (const Row& row : kRows) {
        expected += std::string(row.logLine) + "\n";
        if (std::string(row.vertexFile) == "shaders/hfield.vert") {
            expected += "\nCannot Load vertex shader: shaders/hfield.vert\n";
        }
    }
    expected += "\n";
    EXPECT_EQ(expected, ShaderSection(run.out.Text()));

    ASSERT_EQ(10, g_pShaderManager->GetProgramCount());
    ASSERT_NE(nullptr, g_pShaderManager->GetProgram(2));
    EXPECT_EQ(0u, g_pShaderManager->GetProgram(2)->GetHandle());
    for (int i = 3; i < 10; ++i) {
        SCOPED_TRACE(kRows[i].logLine);
        GLhandleARB handle = g_pShaderManager->GetProgram(i)->GetHandle();
        ASSERT_NE(0u, handle);
        EXPECT_EQ(GL_TRUE, ObjectStatus(handle, GL_OBJECT_LINK_STATUS_ARB));
        std::vector<GLhandleARB> shaders = Attached(handle);
        ASSERT_EQ(2u, shaders.size());
        EXPECT_EQ(ReadFile(kRows[i].vertexFile), SourceOf(shaders[0]));
    }
    EXPECT_EQ("", run.err.Text());
}

// A directory opens like a file and reports a size of LONG_MAX; each program gets one in place
// of one of its files (vertex and fragment by turns) and is refused like a missing file.
TEST(ShaderTable, ADirectoryInPlaceOfAFileIsRefusedLikeAMissingOne) {
    TempDataDir dir;
    for (int i = 0; i < 10; ++i) {
        std::string file =
            dir.Path() + "/" + (i % 2 == 0 ? kRows[i].vertexFile : kRows[i].fragmentFile);
        ASSERT_EQ(0, std::remove(file.c_str()));
        ASSERT_TRUE(std::filesystem::create_directory(file));
    }
    ASSERT_EQ(0, chdir(dir.Path().c_str()));

    CapturedVideoSetUp run;

    std::string expectedOut = std::string("\n") + kBanner + "\n";
    std::string expectedErr;
    for (int i = 0; i < 10; ++i) {
        const char* file = i % 2 == 0 ? kRows[i].vertexFile : kRows[i].fragmentFile;
        expectedOut += std::string(kRows[i].logLine) + "\n\nCannot Load " +
                       (i % 2 == 0 ? "vertex" : "fragment") + " shader: " + file + "\n";
        expectedErr += std::string("Cannot read ") + file + ": a directory, not a regular file\n";
    }
    expectedOut += "\n";
    EXPECT_EQ(expectedOut, ShaderSection(run.out.Text()));
    EXPECT_EQ(expectedErr, run.err.Text());
    ASSERT_EQ(10, g_pShaderManager->GetProgramCount());
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(0u, g_pShaderManager->GetProgram(i)->GetHandle()) << kRows[i].logLine;
    }
}

class ShaderProgramTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        dir_ = MakeTempDir("orvane_program");
        WriteFile(dir_ + "/ok.vert", "void main() { gl_Position = ftransform(); }\n");
        WriteFile(dir_ + "/ok.frag", "void main() { gl_FragColor = vec4(1.0); }\n");
    }
    void TearDown() override {
        Shell("rm -rf '" + dir_ + "'");
        EngineTest::TearDown();
    }
    std::string File(const char* name) const { return dir_ + "/" + name; }

    std::string dir_;
};

TEST_F(ShaderProgramTest, MissingAndEmptyFilesAreReportedAndBuildNoProgram) {
    StreamCapture out;
    CShaderProgram both;
    both.Load(File("none.frag").c_str(), File("none.vert").c_str());
    EXPECT_EQ("\nCannot Load vertex shader: " + File("none.vert") +
                  "\n\nCannot Load fragment shader: " + File("none.frag") + "\n",
              out.Text());
    EXPECT_EQ(0u, both.GetHandle());

    out.Clear();
    WriteFile(File("empty.vert"), "");
    CShaderProgram empty;
    empty.Load(File("ok.frag").c_str(), File("empty.vert").c_str());
    EXPECT_EQ("\nCannot Load vertex shader: " + File("empty.vert") + "\n", out.Text());
    EXPECT_EQ(0u, empty.GetHandle());

    EXPECT_EQ(nullptr, CShaderProgram::ReadSource(nullptr));
    WriteFile(File("crlf.vert"), "line one\r\nline two\r\n");
    char* text = CShaderProgram::ReadSource(File("crlf.vert").c_str());
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(std::string("line one\r\nline two\r\n"), text);
    delete[] text;
}

// A shader is a few kilobytes: a source above 1 MiB (here a sparse file) is never read whole.
TEST_F(ShaderProgramTest, ASourceAbove1MiBIsRefusedByName) {
    ASSERT_EQ(0, truncate((File("ok.vert")).c_str(), 1024 * 1024 + 1));
    StreamCapture out;
    StreamCapture err(std::cerr);
    CShaderProgram large;
    large.Load(File("ok.frag").c_str(), File("ok.vert").c_str());
    EXPECT_EQ("\nCannot Load vertex shader: " + File("ok.vert") + "\n", out.Text());
    EXPECT_EQ("Cannot read " + File("ok.vert") + ": larger than 1 MiB, too large for a shader " +
                  "source\n",
              err.Text());
    EXPECT_EQ(0u, large.GetHandle());
}

TEST_F(ShaderProgramTest, ABrokenShaderWritesOneLineWithItsLogToStandardError) {
    WriteFile(File("broken.frag"), "void main() { gl_FragColor = undeclaredColour; }\n");
    StreamCapture out;
    StreamCapture err(std::cerr);
    CShaderProgram program;
    program.Load(File("broken.frag").c_str(), File("ok.vert").c_str());
    EXPECT_EQ("", out.Text()) << "standard output keeps its fixed log";
    std::string prefix = "Shader compilation failed for " + File("broken.frag") + ": ";
    std::string line = err.Text();
    ASSERT_GT(line.size(), prefix.size() + 1);
    EXPECT_EQ(prefix, line.substr(0, prefix.size()));
    EXPECT_NE(std::string::npos, line.find("undeclaredColour")) << line;
    EXPECT_EQ(line.size() - 1, line.find('\n')) << "exactly one line: " << line;
    // A program that did not link counts as none: binding it binds the fixed-function
    // pipeline and setting its uniforms sets nothing, without an error; the next good save
    // builds it.
    while (glGetError() != GL_NO_ERROR) {
    }
    EXPECT_EQ(0u, program.GetHandle());
    program.Bind();
    program.SetUniformInt("pick", 1);
    program.Unbind();
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
    WriteFile(File("broken.frag"), "void main() { gl_FragColor = vec4(1.0); }\n");
    ASSERT_TRUE(program.Reload());
    EXPECT_EQ(GL_TRUE, ObjectStatus(program.GetHandle(), GL_OBJECT_LINK_STATUS_ARB));

    // Sources that compile but do not fit together fail at the link, named together.
    err.Clear();
    WriteFile(File("needs.frag"),
              "varying vec3 missing; void main() { gl_FragColor = "
              "vec4(missing, 1.0); }\n");
    CShaderProgram unlinked;
    unlinked.Load(File("needs.frag").c_str(), File("ok.vert").c_str());
    line = err.Text();
    prefix = "Shader linking failed for " + File("ok.vert") + " and " + File("needs.frag") + ": ";
    ASSERT_GT(line.size(), prefix.size() + 1);
    EXPECT_EQ(prefix, line.substr(0, prefix.size()));
    EXPECT_EQ(line.size() - 1, line.find('\n')) << line;
    EXPECT_EQ("", out.Text());
}

TEST_F(ShaderProgramTest, ReloadRelinksUnderTheSameHandleKeepingUniformsOrKeepsTheOldProgram) {
    WriteFile(File("tint.frag"),
              "uniform vec4 tint; uniform float gain[2]; uniform int pick;\n"
              "void main() { gl_FragColor = tint * gain[pick]; }\n");
    CShaderProgram program;
    program.Load(File("tint.frag").c_str(), File("ok.vert").c_str());
    GLhandleARB handle = program.GetHandle();
    const GLfloat gains[2] = {0.5f, 2.0f};
    program.Bind();
    glUniform4fARB(glGetUniformLocationARB(handle, "tint"), 0.25f, 0.5f, 0.75f, 1.0f);
    glUniform1fvARB(glGetUniformLocationARB(handle, "gain"), 2, gains);
    program.SetUniformInt("pick", 1);
    program.Unbind();

    // Declared in another order, so the driver may place them elsewhere.
    WriteFile(File("tint.frag"),
              "uniform int pick; uniform float gain[2]; uniform vec4 tint;\n"
              "void main() { gl_FragColor = tint.bgra * gain[pick]; }\n");
    ASSERT_TRUE(program.Reload());
    EXPECT_EQ(handle, program.GetHandle());
    EXPECT_EQ(GL_TRUE, ObjectStatus(handle, GL_OBJECT_LINK_STATUS_ARB));
    GLfloat tint[4] = {};
    GLfloat gain = 0.0f;
    GLint pick = 0;
    glGetUniformfvARB(handle, glGetUniformLocationARB(handle, "tint"), tint);
    glGetUniformfvARB(handle, glGetUniformLocationARB(handle, "gain[1]"), &gain);
    glGetUniformivARB(handle, glGetUniformLocationARB(handle, "pick"), &pick);
    EXPECT_EQ(std::vector<GLfloat>({0.25f, 0.5f, 0.75f, 1.0f}),
              std::vector<GLfloat>(tint, tint + 4));
    EXPECT_FLOAT_EQ(2.0f, gain);
    EXPECT_EQ(1, pick);

    WriteFile(File("tint.frag"), "void main() { gl_FragColor = undeclaredColour; }\n");
    StreamCapture err(std::cerr);
    EXPECT_FALSE(program.Reload());
    EXPECT_EQ(0u, err.Text().find("Shader compilation failed for " + File("tint.frag") + ": "));
    EXPECT_EQ(handle, program.GetHandle());
    EXPECT_EQ(GL_TRUE, ObjectStatus(handle, GL_OBJECT_LINK_STATUS_ARB));
}

// Unsigned ints and matrices that are not square come back as well, and whichever program the
// application had bound (this one or another) is bound again.
TEST_F(ShaderProgramTest, ReloadKeepsUniformsOfEveryTypeAndTheBoundProgram) {
    WriteFile(File("wide.vert"), "#version 130\nvoid main() { gl_Position = ftransform(); }\n");
    WriteFile(File("wide.frag"),
              "#version 130\nuniform uvec3 bits; uniform mat2x3 skew; uniform mat4x3 wide;\n"
              "void main() { gl_FragColor = vec4(float(bits.x + bits.y + bits.z) + "
              "skew[1][2] + wide[3][2]); }\n");
    CShaderProgram program;
    program.Load(File("wide.frag").c_str(), File("wide.vert").c_str());
    const GLhandleARB handle = program.GetHandle();
    ASSERT_NE(0u, handle);
    const std::vector<GLuint> bits = {7, 8, 9};
    std::vector<GLfloat> matrices(18);
    for (size_t i = 0; i < matrices.size(); ++i) {
        matrices[i] = 0.5f + i;
    }
    program.Bind();
    glUniform3uiv(glGetUniformLocationARB(handle, "bits"), 1, bits.data());
    glUniformMatrix2x3fv(glGetUniformLocationARB(handle, "skew"), 1, GL_FALSE, &matrices[0]);
    glUniformMatrix4x3fv(glGetUniformLocationARB(handle, "wide"), 1, GL_FALSE, &matrices[6]);
    for (CShaderProgram* bound : {&program, g_pShaderManager->GetProgram(3)}) {
        bound->Bind();
        ASSERT_TRUE(program.Reload());
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        EXPECT_EQ(static_cast<GLint>(bound->GetHandle()), current);
    }
    std::vector<GLuint> bitsAfter(3);
    std::vector<GLfloat> matricesAfter(18);
    glGetUniformuiv(handle, glGetUniformLocationARB(handle, "bits"), bitsAfter.data());
    glGetUniformfvARB(handle, glGetUniformLocationARB(handle, "skew"), &matricesAfter[0]);
    glGetUniformfvARB(handle, glGetUniformLocationARB(handle, "wide"), &matricesAfter[6]);
    EXPECT_EQ(bits, bitsAfter);
    EXPECT_EQ(matrices, matricesAfter);
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
}

// The untinted build here draws green, to tell it apart: only a queued run whose quads are all
// opaque white takes it; a broken one is reported by name and leaves the program working.
TEST_F(ShaderProgramTest, OnlyAnAllWhiteRunTakesTheUntintedBuild) {
    EXPECT_NE(0u, g_pShaderManager->GetProgram(0)->GetUntintedHandle());
    WriteFile(File("tint.vert"),
              "#version 110\nvarying vec4 tint;\n"
              "void main() { tint = gl_Color; gl_Position = ftransform(); }\n");
    const std::string fragment =
        "varying vec4 tint;\nvoid main() {\n#ifdef UNTINTED\n"
        "    gl_FragColor = GREEN;\n#else\n    gl_FragColor = tint;\n#endif\n}\n";
    WriteFile(File("tint.frag"),
              "#version 110\n#define GREEN vec4(0.0, 1.0, 0.0, 1.0)\n" + fragment);
    CShaderProgram program;
    program.Load(File("tint.frag").c_str(), File("tint.vert").c_str());
    const GLhandleARB handle = program.GetHandle();
    ASSERT_NE(0u, program.GetUntintedHandle());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // A white quad on the left and a red one on the right, in one run of a frame or in two.
    auto draw = [&](bool oneRun) {
        const float tints[2][4] = {{1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 0.0f, 1.0f}};
        CQuadBatch::SetScope(CQuadBatch::kFrame, true);
        CQuadBatch::Use(0, true, handle, program.GetUntintedHandle());
        for (int i = 0; i < 2; ++i) {
            const float left = i - 1.0f;
            const CQuadBatch::Vertex corners[4] = {{left, -1.0f, 0.0f, 0.0f},
                                                   {left + 1.0f, -1.0f, 1.0f, 0.0f},
                                                   {left + 1.0f, 1.0f, 1.0f, 1.0f},
                                                   {left, 1.0f, 0.0f, 1.0f}};
            CQuadBatch::Quad(corners, tints[i]);
            if (!oneRun && i == 0) {
                CQuadBatch::DrawPending();
                CQuadBatch::RebindProgram();
                GLint current = 0;
                glGetIntegerv(GL_CURRENT_PROGRAM, &current);
                EXPECT_EQ(static_cast<GLint>(handle), current) << "a print sets uniforms here";
            }
        }
        CQuadBatch::EndFrame();
    };
    draw(false);
    EXPECT_TRUE(PixelNear(256, 384, 0, 255, 0, 0));
    EXPECT_TRUE(PixelNear(768, 384, 255, 0, 0, 0));
    draw(true);
    EXPECT_TRUE(PixelNear(256, 384, 255, 255, 255, 0));
    EXPECT_TRUE(PixelNear(768, 384, 255, 0, 0, 0));

    WriteFile(File("tint.frag"), "#version 110\n" + fragment);
    StreamCapture err(std::cerr);
    CShaderProgram broken;
    broken.Load(File("tint.frag").c_str(), File("tint.vert").c_str());
    EXPECT_EQ(0u, err.Text().find("Shader compilation failed for " + File("tint.frag") +
                                  " (UNTINTED): "))
        << err.Text();
    EXPECT_EQ(GL_TRUE, ObjectStatus(broken.GetHandle(), GL_OBJECT_LINK_STATUS_ARB));
    EXPECT_EQ(0u, broken.GetUntintedHandle());
}

TEST_F(ShaderProgramTest, UnbindReturnsToFixedFunctionDrawing) {
    CShaderProgram* program = g_pShaderManager->GetProgram(4);
    program->Bind();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLint>(program->GetHandle()), current);
    g_pShaderManager->GetProgram(0)->Unbind();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(0, current);
    // A program without a program object binds the fixed-function pipeline too.
    CShaderProgram none;
    program->Bind();
    none.Bind();
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(0, current);
}

TEST_F(ShaderProgramTest, ProgramZeroOffersColorsAndTpos) {
    GLhandleARB handle = g_pShaderManager->GetProgram(0)->GetHandle();
    EXPECT_GE(glGetUniformLocationARB(handle, "colors"), 0);
    EXPECT_GE(glGetUniformLocationARB(handle, "tpos"), 0);
    // The sampler is set by name like any other uniform.
    g_pShaderManager->GetProgram(0)->Bind();
    g_pShaderManager->GetProgram(0)->SetUniformInt("tex", 0);
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
    g_pShaderManager->GetProgram(0)->Unbind();
}

// Programs 1 to 9 drawn full-window with identity matrices, so clip space is the window and
// the light is given in eye space as it is.
class BuiltInProgramTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
        GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    }
    CShaderProgram* Use(int index) {
        CShaderProgram* program = g_pShaderManager->GetProgram(index);
        program->Bind();
        return program;
    }
    void Light(float x, float y, float z, float w) {
        GLfloat position[4] = {x, y, z, w};
        glLightfv(GL_LIGHT0, GL_POSITION, position);
    }
    // A full-window quad at z 0; normals from the left edge to the right edge.
    void Quad(const float leftNormal[3], const float rightNormal[3]) {
        glBegin(GL_QUADS);
        glNormal3fv(leftNormal);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(-1.0f, -1.0f);
        glNormal3fv(rightNormal);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2f(1.0f, -1.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2f(1.0f, 1.0f);
        glNormal3fv(leftNormal);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(-1.0f, 1.0f);
        glEnd();
    }
    void Quad(float nx, float ny, float nz) {
        float n[3] = {nx, ny, nz};
        Quad(n, n);
    }
    // Channel value of a colour component in 0..1.
    static int V(double c) { return static_cast<int>(std::lround(c * 255.0)); }
};

TEST_F(BuiltInProgramTest, ColorDrawsTheFlatGlColor) {
    Use(1);
    glColor3f(0.2f, 0.4f, 0.6f);
    Quad(0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(PixelNear(100, 100, 51, 102, 153, 2));
    EXPECT_TRUE(PixelNear(900, 700, 51, 102, 153, 2));
}

TEST_F(BuiltInProgramTest, HeightfieldColoursByHeightAndModulatesWithTheTexture) {
    CShaderProgram* program = Use(2);
    glUniform2fARB(glGetUniformLocationARB(program->GetHandle(), "heightRange"), -1.0f, 1.0f);
    Quad(0.0f, 1.0f, 0.0f);
    orvane_test::Rgba low = ReadPixel(500, 760);
    orvane_test::Rgba middle = ReadPixel(500, 384);
    orvane_test::Rgba high = ReadPixel(500, 5);
    EXPECT_TRUE(low.b > low.g + 50 && low.g > low.r) << "water blue at the lowest height";
    EXPECT_TRUE(middle.g > middle.r + 20 && middle.g > middle.b + 40) << "green in the middle";
    EXPECT_TRUE(high.r > 225 && high.g > 225 && high.b > 225) << "snow at the top";

    // Unit 0 modulates the colour when asked for; the top-left quadrant is red.
    CSprite sprite("tests/data/sprites/quadrants_rgb.png");
    sprite.BindToUnit(0);
    program->Bind();
    program->SetUniformInt("useTexture", 1);
    Quad(0.0f, 1.0f, 0.0f);
    orvane_test::Rgba tinted = ReadPixel(200, 5);
    EXPECT_NEAR(high.r * 220 / 255, tinted.r, 4);
    EXPECT_NEAR(high.g * 40 / 255, tinted.g, 4);

    // Without a range the heights span a byte heightmap's 0 to 255.
    program->SetUniformInt("useTexture", 0);
    glUniform2fARB(glGetUniformLocationARB(program->GetHandle(), "heightRange"), 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1.0, 1.0, 0.0, 255.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, 0.0f);
    glVertex2f(1.0f, 0.0f);
    glVertex2f(1.0f, 255.0f);
    glVertex2f(-1.0f, 255.0f);
    glEnd();
    EXPECT_TRUE(PixelNear(500, 760, low.r, low.g, low.b, 3));
    EXPECT_TRUE(PixelNear(500, 384, middle.r, middle.g, middle.b, 3));
    EXPECT_TRUE(PixelNear(500, 5, high.r, high.g, high.b, 3));
    program->Unbind();
}

TEST_F(BuiltInProgramTest, DirectionalDiffuseFollowsTheLightDirection) {
    for (int index : {3, 4}) {
        SCOPED_TRACE(index);
        Use(index);
        glColor3f(0.5f, 0.5f, 0.5f);
        Light(0.0f, 0.0f, 1.0f, 0.0f);
        Quad(0.0f, 0.0f, 1.0f);
        EXPECT_TRUE(PixelNear(300, 300, V(0.5 * 1.2), V(0.5 * 1.2), V(0.5 * 1.2), 2));
        Light(1.0f, 0.0f, 1.0f, 0.0f);  // 45 degrees off the normal
        Quad(0.0f, 0.0f, 1.0f);
        EXPECT_TRUE(PixelNear(300, 300, V(0.5 * (0.2 + std::sqrt(0.5))),
                              V(0.5 * (0.2 + std::sqrt(0.5))), V(0.5 * (0.2 + std::sqrt(0.5))), 2));
        Light(0.0f, 0.0f, -1.0f, 0.0f);  // from behind: the ambient light only
        Quad(0.0f, 0.0f, 1.0f);
        EXPECT_TRUE(PixelNear(300, 300, V(0.1), V(0.1), V(0.1), 2));
    }
}

TEST_F(BuiltInProgramTest, PerPixelLightingRenormalisesWherePerVertexInterpolates) {
    // Normals turn from edge-on at the left to facing the light at the right. Half-way, the
    // per-vertex colour is the mean of the two ends; per pixel, the renormalised normal is
    // 45 degrees off the light.
    const float left[3] = {-1.0f, 0.0f, 0.0f};
    const float right[3] = {0.0f, 0.0f, 1.0f};
    glColor3f(0.5f, 0.5f, 0.5f);
    Light(0.0f, 0.0f, 1.0f, 0.0f);
    Use(4);
    Quad(left, right);
    int perVertex = V(0.5 * (0.2 + 0.5));
    EXPECT_TRUE(PixelNear(512, 384, perVertex, perVertex, perVertex, 2));
    Use(3);
    Quad(left, right);
    int perPixel = V(0.5 * (0.2 + std::sqrt(0.5)));
    EXPECT_TRUE(PixelNear(512, 384, perPixel, perPixel, perPixel, 2));
}

TEST_F(BuiltInProgramTest, PointLightFallsOffWithDistanceAndAttenuation) {
    Use(5);
    glColor3f(0.5f, 0.5f, 0.5f);
    Light(0.0f, 0.0f, 1.0f, 1.0f);  // one unit in front of the window's centre
    Quad(0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(PixelNear(512, 384, V(0.6), V(0.6), V(0.6), 2));
    // Clip x 0.75: the light comes in at cos = 1 / 1.25.
    EXPECT_TRUE(PixelNear(896, 384, V(0.5), V(0.5), V(0.5), 2));

    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 1.0f);
    Quad(0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(PixelNear(512, 384, V(0.5 * (0.2 + 0.5)), V(0.35), V(0.35), 2));
    EXPECT_TRUE(PixelNear(896, 384, V(0.5 * (0.2 + 0.8 / 2.25)), V(0.5 * (0.2 + 0.8 / 2.25)),
                          V(0.5 * (0.2 + 0.8 / 2.25)), 2));
}

TEST_F(BuiltInProgramTest, SpotLightLightsOnlyInsideItsCone) {
    Use(6);
    glColor3f(0.5f, 0.5f, 0.5f);
    Light(0.0f, 0.0f, 1.0f, 1.0f);
    GLfloat down[3] = {0.0f, 0.0f, -1.0f};
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, down);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 30.0f);
    Quad(0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(PixelNear(512, 384, V(0.6), V(0.6), V(0.6), 2)) << "on the axis";
    // Clip x 0.3 is 16.7 degrees off the axis, inside the cone.
    double cosInside = 1.0 / std::sqrt(1.0 + 0.3018 * 0.3018);
    EXPECT_TRUE(PixelNear(666, 384, V(0.5 * (0.2 + cosInside)), V(0.5 * (0.2 + cosInside)),
                          V(0.5 * (0.2 + cosInside)), 3));
    // Clip x 0.75 is 36.9 degrees off: outside, where a point light would still light.
    EXPECT_TRUE(PixelNear(896, 384, V(0.1), V(0.1), V(0.1), 2));
}

TEST_F(BuiltInProgramTest, ToonShadingQuantisesTheDiffuseLight) {
    Use(7);
    glColor3f(1.0f, 1.0f, 1.0f);
    const float left[3] = {-1.0f, 0.0f, 0.0f};
    const float right[3] = {0.0f, 0.0f, 1.0f};
    Light(0.0f, 0.0f, 1.0f, 0.0f);
    Quad(left, right);
    // Across the smoothly turning normals a row shows only a few flat bands.
    std::vector<unsigned char> row(1024 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 384, 1024, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
    std::set<int> levels;
    for (int x = 0; x < 1024; ++x) {
        levels.insert(row[x * 4]);
    }
    EXPECT_EQ(4u, levels.size());
    // Diffuse terms 0.8 and 0.6 fall in one band, 0.3 in a darker one.
    Light(0.6f, 0.0f, 0.8f, 0.0f);
    Quad(0.0f, 0.0f, 1.0f);
    orvane_test::Rgba bright = ReadPixel(300, 300);
    Light(0.8f, 0.0f, 0.6f, 0.0f);
    Quad(0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(PixelNear(300, 300, bright.r, bright.g, bright.b, 0));
    Light(0.954f, 0.0f, 0.3f, 0.0f);
    Quad(0.0f, 0.0f, 1.0f);
    EXPECT_LT(ReadPixel(300, 300).r + 40, bright.r);
}

TEST_F(BuiltInProgramTest, TexturedDiffuseModulatesUnitZero) {
    CSprite sprite("tests/data/sprites/quadrants_rgb.png");
    const float left[3] = {-1.0f, 0.0f, 0.0f};
    const float right[3] = {0.0f, 0.0f, 1.0f};
    for (int index : {8, 9}) {
        SCOPED_TRACE(index);
        sprite.BindToUnit(0);
        Use(index);
        glColor3f(0.5f, 0.5f, 0.5f);
        Light(0.0f, 0.0f, 1.0f, 0.0f);
        Quad(0.0f, 0.0f, 1.0f);
        // Top-left quadrant (220, 40, 40) and bottom-right (230, 210, 40), lit at 0.6.
        EXPECT_TRUE(
            PixelNear(200, 150, V(220 / 255.0 * 0.6), V(40 / 255.0 * 0.6), V(40 / 255.0 * 0.6), 3));
        EXPECT_TRUE(PixelNear(800, 600, V(230 / 255.0 * 0.6), V(210 / 255.0 * 0.6),
                              V(40 / 255.0 * 0.6), 3));
        Light(0.0f, 0.0f, -1.0f, 0.0f);
        Quad(0.0f, 0.0f, 1.0f);
        EXPECT_TRUE(
            PixelNear(200, 150, V(220 / 255.0 * 0.1), V(40 / 255.0 * 0.1), V(40 / 255.0 * 0.1), 3));
    }
    // A quarter of the way across turning normals: interpolated light 0.45 per vertex, the
    // renormalised normal gives 0.2 + 0.25 / |(-0.75, 0, 0.25)| per pixel. (A colour of 0.8
    // keeps the lit vertex colours below 1, where they would clamp.)
    glColor3f(0.8f, 0.8f, 0.8f);
    Light(0.0f, 0.0f, 1.0f, 0.0f);
    Use(8);
    Quad(left, right);
    EXPECT_NEAR(220 * 0.8 * 0.45, ReadPixel(256, 150).r, 3);
    Use(9);
    Quad(left, right);
    EXPECT_NEAR(220 * 0.8 * (0.2 + 0.25 / std::sqrt(0.625)), ReadPixel(256, 150).r, 3);
    g_pShaderManager->GetProgram(0)->Unbind();
}
