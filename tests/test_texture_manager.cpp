// The texture manager's registry: sprites register when they load, once per texture, leave it
// when they are destroyed, and are never destroyed by it except through RemoveTexture.
#include <GL/glew.h>

#include <new>
#include <vector>

#include "core/CEngine.h"
#include "support/TestSupport.h"
#include "textures/CSprite.h"
#include "textures/CTextureManager.h"

using orvane_test::EngineTest;
using orvane_test::PixelNear;
using orvane_test::StreamCapture;

namespace {

const char* const kPicture = "tests/data/sprites/quadrants_rgb.png";

std::vector<CSprite*> Entries() {
    std::vector<CSprite*> entries;
    for (size_t i = 0; i < g_pTextureManager->GetCount(); ++i) {
        entries.push_back(g_pTextureManager->GetSprite(i));
    }
    return entries;
}

class TextureManagerTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(0u, g_pTextureManager->GetCount());
    }
    StreamCapture quiet_;
};

}  // namespace

TEST_F(TextureManagerTest, ALoadedSpriteIsRegisteredOnceAndAFailedOneNever) {
    CSprite a(kPicture);
    EXPECT_EQ(std::vector<CSprite*>({&a}), Entries());
    g_pTextureManager->AddTexture(&a);
    EXPECT_EQ(std::vector<CSprite*>({&a}), Entries());

    // The same file loaded twice gives two textures, both listed.
    CSprite b(kPicture);
    EXPECT_NE(a.GetTexture(), b.GetTexture());
    EXPECT_EQ(std::vector<CSprite*>({&a, &b}), Entries());

    CSprite missing("tests/data/sprites/no_such_picture.png");
    CSprite unloaded;
    EXPECT_EQ(std::vector<CSprite*>({&a, &b}), Entries());

    g_pTextureManager->ReloadTextures();
    EXPECT_EQ(std::vector<CSprite*>({&a, &b}), Entries());
    EXPECT_EQ(kPicture, a.GetFileName());
}

TEST_F(TextureManagerTest, RemoveTextureTakesOutOneEntryAndDestroysThatSprite) {
    CSprite* a = new CSprite(kPicture);
    CSprite* b = new CSprite(kPicture);
    CSprite* c = new CSprite(kPicture);
    CSprite* d = new CSprite(kPicture);
    ASSERT_EQ(std::vector<CSprite*>({a, b, c, d}), Entries());
    g_pTextureManager->RemoveTexture(b);  // b is destroyed here
    EXPECT_EQ(std::vector<CSprite*>({a, c, d}), Entries());
    delete a;
    delete c;
    delete d;
    EXPECT_EQ(0u, g_pTextureManager->GetCount());
}

TEST_F(TextureManagerTest, ADestroyedSpriteLeavesTheRegistry) {
    CSprite* a = new CSprite(kPicture);
    CSprite* c = new CSprite(kPicture);
    CSprite* d = new CSprite(kPicture);
    delete c;
    EXPECT_EQ(std::vector<CSprite*>({a, d}), Entries());
    // Registering walks the remaining entries only.
    CSprite e(kPicture);
    EXPECT_EQ(std::vector<CSprite*>({a, d, &e}), Entries());
    delete a;
    delete d;
    EXPECT_EQ(std::vector<CSprite*>({&e}), Entries());
}

TEST_F(TextureManagerTest, RemovingAnUnregisteredSpriteLeavesBothAlone) {
    CSprite a(kPicture);
    CSprite unloaded;
    // Stack objects: destroying either would crash the test.
    g_pTextureManager->RemoveTexture(&unloaded);
    EXPECT_EQ(std::vector<CSprite*>({&a}), Entries());

    CSprite loose(kPicture);
    g_pTextureManager->Unregister(&loose);
    ASSERT_EQ(std::vector<CSprite*>({&a}), Entries());
    g_pTextureManager->RemoveTexture(&loose);
    EXPECT_EQ(std::vector<CSprite*>({&a}), Entries());
    loose.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(PixelNear(50, 50, 220, 40, 40));
}

TEST_F(TextureManagerTest, DestroyingTheManagerDestroysNoSprite) {
    CSprite* a = new CSprite(kPicture);
    CSprite* b = new CSprite(kPicture);
    ASSERT_EQ(2u, g_pTextureManager->GetCount());
    engine_.reset();  // the engine deletes the texture manager at shutdown
    EXPECT_EQ(nullptr, g_pTextureManager);
    EXPECT_FLOAT_EQ(300.0f, a->GetWidth());
    EXPECT_EQ(kPicture, b->GetFileName());
    // Freed after the engine: no registry to leave and no context to touch.
    delete a;
    delete b;
}

// Registering, unregistering and removing cost the same however many sprites are listed: none
// of them reads a listed sprite. Those are moved into memory that cannot be read meanwhile,
// where a walk over the registry crashes.
TEST_F(TextureManagerTest, RegistrationReadsNoListedSprite) {
    const size_t pageSize = orvane_test::Pages::Size();
    const int kListed = 3;
    orvane_test::Pages memory(kListed);
    unsigned char* pages = memory.Data();
    ASSERT_NE(nullptr, pages);
    std::vector<CSprite*> listed;
    for (int i = 0; i < kListed; ++i) {
        listed.push_back(new (pages + i * pageSize) CSprite(kPicture));
    }
    ASSERT_EQ(listed, Entries());
    ASSERT_TRUE(memory.Allow(0, kListed, false));
    CSprite* added = new CSprite(kPicture);
    CSprite* removed = new CSprite(kPicture);
    { CSprite destroyed(kPicture); }
    g_pTextureManager->AddTexture(added);
    g_pTextureManager->RemoveTexture(removed);
    EXPECT_EQ(kListed + 1u, g_pTextureManager->GetCount());
    ASSERT_TRUE(memory.Allow(0, kListed, true));
    listed.push_back(added);
    EXPECT_EQ(listed, Entries());
    for (CSprite* sprite : listed) {
        if (sprite == added) {
            delete sprite;
        } else {
            sprite->~CSprite();
        }
    }
    EXPECT_EQ(0u, g_pTextureManager->GetCount());
}
