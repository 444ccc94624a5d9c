// CSprite: image loading through the platform's picture decoder, upload as a mipmapped texture,
// quad drawing.
#include "textures/CSprite.h"

#include <GL/glew.h>

#include <cmath>
#include <iostream>
#include <vector>

#include "platform/CPixelFormat.h"
#include "platform/CPlatform.h"
#include "shading/CShaderManager.h"
#include "shading/CShaderProgram.h"
#include "render/CMipmapBuilder.h"
#include "render/CQuadBatch.h"
#include "render/CRenderState.h"
#include "textures/CTextureManager.h"
#include "utils/CFileCheck.h"

namespace {

// True when the pixel memory already reads as 8-bit red, green, blue (, alpha) bytes with rows
// packed to the 4-byte unpack alignment, which is what the upload hands to OpenGL unchanged.
bool IsUploadReady(const SDL_Surface* surface) {
    const SDL_PixelFormat* f = surface->format;
    // A colour key (a PNG's single transparent colour) must become alpha to stay transparent.
    if (f->palette != nullptr || (surface->flags & SDL_SRCCOLORKEY) != 0) {
        return false;
    }
    int rowBytes = surface->w * f->BytesPerPixel;
    int alignedRow = (rowBytes + 3) & ~3;
    if (surface->pitch != alignedRow) {
        return false;
    }
    if (f->BytesPerPixel == 4) {
        return f->Rmask == CPixelFormat::kRedMask && f->Gmask == CPixelFormat::kGreenMask &&
               f->Bmask == CPixelFormat::kBlueMask && f->Amask == CPixelFormat::kAlphaMask;
    }
    if (f->BytesPerPixel == 3) {
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
        return f->Rmask == 0x0000FF && f->Gmask == 0x00FF00 && f->Bmask == 0xFF0000 &&
               f->Amask == 0;
#else
        return f->Rmask == 0xFF0000 && f->Gmask == 0x00FF00 && f->Bmask == 0x0000FF &&
               f->Amask == 0;
#endif
    }
    return false;
}

Uint32 ReadPixel(const Uint8* p, int bytesPerPixel) {
    switch (bytesPerPixel) {
        case 1:
            return *p;
        case 2:
            return *reinterpret_cast<const Uint16*>(p);
        case 3:
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
            return Uint32(p[0]) | (Uint32(p[1]) << 8) | (Uint32(p[2]) << 16);
#else
            return (Uint32(p[0]) << 16) | (Uint32(p[1]) << 8) | Uint32(p[2]);
#endif
        default:
            return *reinterpret_cast<const Uint32*>(p);
    }
}

// Palettised, 16-bit and blue-first pictures become 32-bit RGBA; a colour key becomes
// transparency. Returns a new surface the caller frees.
SDL_Surface* ConvertToRgba(SDL_Surface* source) {
    SDL_Surface* target = SDL_CreateRGBSurface(SDL_SWSURFACE, source->w, source->h, 32,
                                               CPixelFormat::kRedMask, CPixelFormat::kGreenMask,
                                               CPixelFormat::kBlueMask, CPixelFormat::kAlphaMask);
    if (target == nullptr) {
        return nullptr;
    }
    CPlatform::LockPixels(source);
    const SDL_PixelFormat* format = source->format;
    unsigned int colorKey = 0;
    bool keyed = CPlatform::GetColorKey(source, &colorKey);
    int bpp = format->BytesPerPixel;
    for (int row = 0; row < source->h; ++row) {
        const Uint8* in = static_cast<const Uint8*>(source->pixels) + row * source->pitch;
        Uint8* out = static_cast<Uint8*>(target->pixels) + row * target->pitch;
        for (int col = 0; col < source->w; ++col) {
            Uint32 value = ReadPixel(in + col * bpp, bpp);
            Uint8 r, g, b, a;
            SDL_GetRGBA(value, const_cast<SDL_PixelFormat*>(format), &r, &g, &b, &a);
            if (keyed && value == colorKey) {
                a = 0;
            }
            out[col * 4 + 0] = r;
            out[col * 4 + 1] = g;
            out[col * 4 + 2] = b;
            out[col * 4 + 3] = a;
        }
    }
    CPlatform::UnlockPixels(source);
    return target;
}

// The picture in the file, or null after the loader's failure line.
SDL_Surface* ReadPicture(const std::string& name) {
    std::FILE* file = CFileCheck::Open(name.c_str());
    SDL_Surface* surface = file != nullptr ? CPlatform::LoadPicture(file, name.c_str()) : nullptr;
    if (surface == nullptr) {
        std::cout << "Failed to load the image: " << name << ", Error: " << SDL_GetError()
                  << std::endl;
    }
    return surface;
}

// The surface in a layout OpenGL takes as it is: the same one, or a converted copy with the
// original freed. Null for null or when the conversion fails.
SDL_Surface* MakeUploadReady(SDL_Surface* surface) {
    if (surface == nullptr || IsUploadReady(surface)) {
        return surface;
    }
    SDL_Surface* converted = ConvertToRgba(surface);
    SDL_FreeSurface(surface);
    return converted;
}

}  // namespace

CSprite::CSprite()
    : texture(0),
      textureContext(0),
      opaque(false),
      width(0.0f),
      height(0.0f),
      alpha(1.0f),
      shader(nullptr) {}

CSprite::CSprite(const std::string& name) : CSprite() {
    Load(name);
    alpha = 1.0f;
}

CSprite::CSprite(const std::string& name, float a) : CSprite() {
    Load(name);
    alpha = a;
}

CSprite::~CSprite() {
    if (g_pTextureManager != nullptr) {
        g_pTextureManager->Unregister(this);
    }
    ReleaseTexture();
}

void CSprite::ReleaseTexture() {
    if (texture != 0 && textureContext == CRenderState::Context()) {
        // Quads queued with this picture are drawn before it goes (the state sees to that).
        CRenderState::DeleteTexture(texture);
    }
    texture = 0;
}

void CSprite::Load(const std::string& name) {
    std::cout << "Loading Texture: " << name << std::endl;
    SDL_Surface* surface = ReadPicture(name);
    if (surface == nullptr) {
        // Live reload loads it once the file can be read.
        if (g_pTextureManager != nullptr) {
            g_pTextureManager->AddWaiting(this, name);
        }
        return;
    }
    fileName = name;
    CreateTexture(surface);
    shader = g_pShaderManager != nullptr ? g_pShaderManager->GetProgram(0) : nullptr;
}

void CSprite::CreateTexture(SDL_Surface* surface) {
    surface = MakeUploadReady(surface);
    if (surface == nullptr) {
        return;
    }
    // A sprite loaded again lets its old picture go.
    ReleaseTexture();
    glGenTextures(1, &texture);
    textureContext = CRenderState::Context();
    Upload(surface);
    SDL_FreeSurface(surface);
    if (g_pTextureManager != nullptr) {
        g_pTextureManager->AddTexture(this);
    }
}

void CSprite::Reload(const std::string& name) {
    if (texture == 0) {
        Load(name);
        return;
    }
    ReloadAll(name, std::vector<CSprite*>{this});
}

void CSprite::ReloadAll(const std::string& name, const std::vector<CSprite*>& sprites) {
    std::cout << "Reloading Texture: " << name << std::endl;
    // A picture that cannot be read (half written, say) leaves the one shown now.
    SDL_Surface* surface = MakeUploadReady(ReadPicture(name));
    if (surface == nullptr) {
        return;
    }
    // Quads sent before the reload were meant to show the old picture, and go out at the first
    // binding; the same texture name keeps every holder of it (animated sprites, windows, the
    // cursor) up to date.
    std::vector<CSprite*> unloaded;
    for (CSprite* sprite : sprites) {
        sprite->fileName = name;
        if (sprite->texture == 0) {
            glGenTextures(1, &sprite->texture);
            sprite->textureContext = CRenderState::Context();
            sprite->shader =
                g_pShaderManager != nullptr ? g_pShaderManager->GetProgram(0) : nullptr;
            unloaded.push_back(sprite);
        }
    }
    // Each level of the picture is built once for all of them.
    UploadAll(sprites, surface);
    SDL_FreeSurface(surface);
    for (CSprite* sprite : unloaded) {
        if (g_pTextureManager != nullptr) {
            g_pTextureManager->AddTexture(sprite);
        }
    }
}

void CSprite::Upload(SDL_Surface* surface) {
    UploadAll(std::vector<CSprite*>{this}, surface);
}

void CSprite::UploadAll(const std::vector<CSprite*>& sprites, SDL_Surface* surface) {
    std::vector<GLuint> textures;
    for (CSprite* sprite : sprites) {
        CRenderState::BindTexture(sprite->texture);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        sprite->width = static_cast<float>(surface->w);
        sprite->height = static_cast<float>(surface->h);
        textures.push_back(sprite->texture);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    GLenum layout = surface->format->Amask != 0 ? GL_RGBA : GL_RGB;
    for (CSprite* sprite : sprites) {
        sprite->opaque = layout == GL_RGB;
    }
    CPlatform::LockPixels(surface);
    CMipmapBuilder::Upload(GL_TEXTURE_2D, layout, surface->w, surface->h, layout, surface->pixels,
                           textures.data(), static_cast<int>(textures.size()));
    CPlatform::UnlockPixels(surface);
}

void CSprite::ApplyRotation(float angle, float top, float right, float bottom, float left) {
    CRenderState::BindTexture(texture);
    if (angle == 0.0f) {
        return;
    }
    float hx = (right - left) / 2.0f * width;
    float hy = (top - bottom) / 2.0f * height;
    CRenderState::Translate(-hx, -hy, 0.0f);
    CRenderState::Rotate(angle, 0.0f, 0.0f, 1.0f);
    CRenderState::Translate(hx, hy, 0.0f);
}

void CSprite::DrawArea(float x, float y, float top, float right, float bottom, float left,
                       float scale, float angle, float r, float g, float b, float a) {
    // An unloaded sprite has no texture and no program: it draws nothing.
    if (texture == 0 || shader == nullptr) {
        return;
    }
    float w = (right - left) * width;
    float h = (top - bottom) * height;
    // Texture row 0 is the picture's top row, so top and bottom flip into t.
    float vt = 1.0f - top;
    float vb = 1.0f - bottom;
    CQuadBatch::Vertex corners[4] = {
        {0.0f, 0.0f, left, vt}, {w, 0.0f, right, vt}, {w, h, right, vb}, {0.0f, h, left, vb}};
    // The corners are placed here rather than by the model-view matrix, so that consecutive
    // sprites change no GL state: scaled about the corner, moved to (x, y), then turned about
    // (-hx, -hy), half the size of the area drawn.
    float c = 1.0f;
    float s = 0.0f;
    if (angle != 0.0f) {
        double radians = static_cast<double>(angle) * 3.14159265358979323846 / 180.0;
        c = static_cast<float>(std::cos(radians));
        s = static_cast<float>(std::sin(radians));
    }
    float hx = (right - left) / 2.0f * width;
    float hy = (top - bottom) / 2.0f * height;
    for (CQuadBatch::Vertex& corner : corners) {
        float px = x + scale * corner.x;
        float py = y + scale * corner.y;
        if (angle != 0.0f) {
            float ux = px + hx;
            float uy = py + hy;
            px = c * ux - s * uy - hx;
            py = s * ux + c * uy - hy;
        }
        corner.x = px;
        corner.y = py;
    }
    const float tint[4] = {r, g, b, a};
    static const float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    CQuadBatch::Use(texture, true, shader->GetHandle(), shader->GetUntintedHandle(), opaque);
    CQuadBatch::SetEndState(kWhite, false);
    CQuadBatch::Quad(corners, tint);
}

void CSprite::Draw(float x, float y, float scale, float angle, float r, float g, float b, float a) {
    DrawArea(x, y, 1.0f, 1.0f, 0.0f, 0.0f, scale, angle, r, g, b, a);
}

void CSprite::DrawAtPosition(float scale, float angle, float r, float g, float b, float a) {
    DrawArea(position.x, position.y, 1.0f, 1.0f, 0.0f, 0.0f, scale, angle, r, g, b, a);
}

void CSprite::DrawWithAlpha(float x, float y, float scale, float angle, float r, float g, float b) {
    DrawArea(x, y, 1.0f, 1.0f, 0.0f, 0.0f, scale, angle, r, g, b, alpha);
}

void CSprite::DrawRegion(float x, float y, float top, float right, float bottom, float left,
                         float scale, float angle, float r, float g, float b, float a) {
    DrawArea(x, y, top, right, bottom, left, scale, angle, r, g, b, a);
}

void CSprite::BindToUnit(int unit) {
    // The unit chosen here stays active, so a run of quads on unit 0 ends first.
    CQuadBatch::Flush();
    CRenderState::ActiveTexture(unit);
    // Another unit is active, whose switches the engine has not set.
    CRenderState::MarkStale();
    glEnable(GL_TEXTURE_2D);
    CRenderState::BindTexture(texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}
