// CButtonBase: hover animation, click reporting and the tooltip that buttons and toggles share.
#include "gui/CButtonBase.h"

#include "input/CEventManager.h"
#include "text/CFontManager.h"
#include "textures/CAnimatedSprite.h"
#include "textures/CSprite.h"

void CButtonBase::SetTooltip(const std::string& text, float x, float y) {
    tooltipText = text;
    tooltipPos = CVector2(x, y);
    tooltipOn = true;
}

void CButtonBase::ResizeFrames(CAnimatedSprite* image, float w, float h) {
    if (image == nullptr) {
        return;
    }
    for (unsigned int i = 0; i < image->GetFrameCount(); ++i) {
        if (CSprite* frame = image->GetFrame(i)) {
            frame->SetWidth(w);
            frame->SetHeight(h);
        }
    }
}

bool CButtonBase::HitTest(float ox, float oy) {
    return HitTestAt(GetX() + ox, GetY() + oy);
}

bool CButtonBase::HitTestAt(float x0, float y0) {
    CSprite* box = HoverFrame();
    if (box == nullptr || g_pEventManager == nullptr) {
        return false;
    }
    if (!g_pEventManager->MouseInBox(x0, y0, box->GetWidth(), box->GetHeight())) {
        return false;
    }
    if (enabled && g_pEventManager->TookEvent(EVENT_LBUTTONDOWN)) {
        g_pEventManager->SetClickedId(id);
        OnClick();
    }
    return true;
}

void CButtonBase::Draw() {
    DrawAt(GetX(), GetY());
}

void CButtonBase::Draw(float ox, float oy) {
    DrawAt(GetX() + ox, GetY() + oy);
}

void CButtonBase::DrawAt(float x, float y) {
    // Chosen before the hit test, so a toggle's click shows the other image from the next draw.
    CAnimatedSprite* shown = ShownImage();
    if (!visible || shown == nullptr) {
        return;
    }
    if (HitTestAt(x, y)) {
        hovered = true;
        shown->PlayOnceAt(x, y);
        if (tooltipOn && g_pFontManager != nullptr) {
            g_pFontManager->PrintLiteralAt(tooltipPos.x, tooltipPos.y, tooltipText.c_str());
        }
    } else {
        hovered = false;
        shown->Rewind();
        shown->DrawFrameAt(0, x, y);
    }
}
