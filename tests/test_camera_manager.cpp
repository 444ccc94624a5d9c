// The camera manager: offsets, moves, camera selection, the translation it applies and the
// ownership of its cameras.
#include <GL/gl.h>

#include <cstdlib>
#include <map>
#include <new>

#include "camera/CCameraManager.h"
#include "support/TestSupport.h"

using orvane_test::EngineTest;

namespace {

// Frees of watched addresses, counted by the replaced global operator delete below, prove
// that the manager deletes each camera exactly once.
std::map<void*, int>* g_watched = nullptr;

void CountFree(void* p) {
    if (g_watched != nullptr) {
        auto it = g_watched->find(p);
        if (it != g_watched->end()) {
            ++it->second;
        }
    }
}

}  // namespace

// Replaced together with operator delete so that allocation and release stay a matching pair.
void* operator new(std::size_t size) {
    void* p = std::malloc(size != 0 ? size : 1);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void operator delete(void* p) noexcept {
    CountFree(p);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    CountFree(p);
    std::free(p);
}

TEST(CameraManager, WithoutACameraNothingMovesAndThereIsNoPosition) {
    CCameraManager manager;
    manager.MoveLeft(5.0f);
    manager.MoveUp(5.0f);
    manager.Translate(1.0f, 1.0f);
    EXPECT_EQ(nullptr, manager.GetPosition());
    EXPECT_EQ(nullptr, manager.GetPositionAt(0));
}

TEST(CameraManager, MovesActOnTheCurrentCamera) {
    CCameraManager manager;
    manager.AddCamera(new CPosition2D(-1.0f, 0.0f));
    manager.MoveLeft(5.0f);
    manager.MoveUp(5.0f);
    EXPECT_FLOAT_EQ(4.0f, manager.GetPosition()->x);
    EXPECT_FLOAT_EQ(5.0f, manager.GetPosition()->y);
    manager.MoveRight(2.0f);
    manager.MoveDown(1.0f);
    EXPECT_FLOAT_EQ(2.0f, manager.GetPosition()->x);
    EXPECT_FLOAT_EQ(4.0f, manager.GetPosition()->y);

    CCameraManager other;
    other.AddCamera(new CPosition2D());
    other.Translate(2.5f, 0.0f);
    other.MoveRight(5.0f);
    EXPECT_FLOAT_EQ(-2.5f, other.GetPosition()->x);
    EXPECT_FLOAT_EQ(0.0f, other.GetPosition()->y);
}

TEST(CameraManager, ASecondCameraBecomesCurrentAndSelectionChecksTheRange) {
    CCameraManager manager;
    manager.AddCamera(new CPosition2D(1.0f, 1.0f));
    manager.AddCamera(new CPosition2D(2.0f, 2.0f));
    EXPECT_FLOAT_EQ(2.0f, manager.GetPosition()->x);
    manager.SelectCamera(0);
    EXPECT_FLOAT_EQ(1.0f, manager.GetPosition()->x);
    manager.SelectCamera(2);
    EXPECT_FLOAT_EQ(1.0f, manager.GetPosition()->x);
    EXPECT_FLOAT_EQ(2.0f, manager.GetPositionAt(1)->x);
    EXPECT_EQ(nullptr, manager.GetPositionAt(2));
    // The position is the camera's own, writable through the pointer.
    manager.GetPosition()->x = 9.0f;
    EXPECT_FLOAT_EQ(9.0f, manager.GetPositionAt(0)->x);
}

TEST(CameraManager, DeletesEachCameraExactlyOnce) {
    std::map<void*, int> watched;
    {
        CCameraManager manager;
        for (int i = 0; i < 3; ++i) {
            CPosition2D* camera = new CPosition2D(float(i), 0.0f);
            watched[camera] = 0;
            manager.AddCamera(camera);
        }
        g_watched = &watched;
    }
    g_watched = nullptr;
    for (const auto& entry : watched) {
        EXPECT_EQ(1, entry.second);
    }
}

using CameraManagerGL = EngineTest;

TEST_F(CameraManagerGL, ApplyTranslatesTheModelViewOnlyWithACamera) {
    CCameraManager manager;
    glLoadIdentity();
    manager.Apply();
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(0.0f, m[12]);
    EXPECT_FLOAT_EQ(0.0f, m[13]);

    manager.AddCamera(new CPosition2D(-1.0f, 0.0f));
    manager.MoveLeft(5.0f);
    manager.MoveUp(5.0f);
    glLoadIdentity();
    manager.Apply();
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(4.0f, m[12]);
    EXPECT_FLOAT_EQ(5.0f, m[13]);
    EXPECT_FLOAT_EQ(0.0f, m[14]);
}

TEST_F(CameraManagerGL, TheFrameStepLeavesTheCameraTranslationOnTheModelView) {
    g_pCameraManager->AddCamera(new CPosition2D(12.0f, -7.0f));
    engine_->Update();
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(12.0f, m[12]);
    EXPECT_FLOAT_EQ(-7.0f, m[13]);
}
