#include "mainwnd/CQX_SortButtons.h"

#include "common/CEGuiCompat.h"
#include "mainwnd/CQX_SearchSnapshot.h"

namespace {

struct SortLook
{
    CQX_SortButtons::Button button;
    int state;
    const char* normal;
    const char* hover;
    const char* pushed;
};

const SortLook kLooks[] = {
    {CQX_SortButtons::Credit, CQX_SortButtons::Inactive, "set:FirstPage image:Credit",
     "set:FirstPage image:CreditDownGreyHighLight", "set:FirstPage image:Credit"},
    {CQX_SortButtons::Credit, CQX_SortButtons::CreditActive, "set:FirstPage image:CreditHighLight",
     "set:FirstPage image:CreditHighLight", "set:FirstPage image:CreditHighLight"},
    {CQX_SortButtons::Price, CQX_SortButtons::Inactive, "set:FirstPage image:PriceGrey",
     "set:FirstPage image:PriceUpGreyHighLight", "set:FirstPage image:PriceGrey"},
    {CQX_SortButtons::Price, CQX_SortButtons::PriceDown, "set:FirstPage image:PriceDown",
     "set:FirstPage image:PriceDownHighLight", "set:FirstPage image:PriceDown"},
    {CQX_SortButtons::Price, CQX_SortButtons::PriceUp, "set:FirstPage image:PriceUp",
     "set:FirstPage image:PriceUpHighLight", "set:FirstPage image:PriceUp"},
    {CQX_SortButtons::Volume, CQX_SortButtons::Inactive, "set:FirstPage image:VolumeDownGreyNormal",
     "set:FirstPage image:VolumeDownGreyHighLight", "set:FirstPage image:VolumeDownGreyNormal"},
    {CQX_SortButtons::Volume, CQX_SortButtons::VolumeActive, "set:FirstPage image:VolumeDownNormal",
     "set:FirstPage image:VolumeDownNormal", "set:FirstPage image:VolumeDownNormal"},
    {CQX_SortButtons::Time, CQX_SortButtons::Inactive, "set:FirstPage image:TimeGreyNormal",
     "set:FirstPage image:TimeGreyHighLight", "set:FirstPage image:TimeGreyNormal"},
    {CQX_SortButtons::Time, CQX_SortButtons::TimeDown, "set:FirstPage image:TimeDownNormal",
     "set:FirstPage image:TimeDownHighLight", "set:FirstPage image:TimeDownNormal"},
    {CQX_SortButtons::Time, CQX_SortButtons::TimeUp, "set:FirstPage image:TimeUpNormal",
     "set:FirstPage image:TimeUpHighLight", "set:FirstPage image:TimeUpNormal"},
};

const char* const kButtonNames[CQX_SortButtons::ButtonCount] = {"MotionControl/Credit", "MotionControl/Price",
                                                                  "MotionControl/Volume", "MotionControl/TimeSort"};

const SortLook* FindLook(CQX_SortButtons::Button button, int state)
{
    for (const SortLook& look : kLooks)
        if (look.button == button && look.state == state)
            return &look;
    return nullptr;
}

}

void CQX_SortButtons::Attach()
{
    for (int b = 0; b < ButtonCount; ++b)
        m_buttons[b] = CEGuiCompat::GetWindow(kButtonNames[b]);
}

void CQX_SortButtons::Show(Button button, int state)
{
    const SortLook* look = FindLook(button, state);
    if (!look || !m_buttons[button])
        return;
    CEGuiCompat::SetProperty(m_buttons[button], "NormalImage", look->normal);
    CEGuiCompat::SetProperty(m_buttons[button], "HoverImage", look->hover);
    CEGuiCompat::SetProperty(m_buttons[button], "PushedImage", look->pushed);
    if (button == Credit)
        m_creditState = state;
    else if (button == Price)
        m_priceState = state;
}

void CQX_SortButtons::ShowOnly(Button button, int state)
{
    for (int b = 0; b < ButtonCount; ++b)
        Show(static_cast<Button>(b), b == button ? state : Inactive);
}

void CQX_SortButtons::ShowSort(int type, bool flag)
{
    switch (type) {
    case CQX_SearchSnapshot::SortByVolume: ShowOnly(Volume, VolumeActive); break;
    case CQX_SearchSnapshot::SortByTime: ShowOnly(Time, flag ? TimeUp : TimeDown); break;
    case CQX_SearchSnapshot::SortByCredit: ShowOnly(Credit, CreditActive); break;
    case CQX_SearchSnapshot::SortByPrice: ShowOnly(Price, flag ? PriceUp : PriceDown); break;
    default: ShowOnly(Credit, Inactive); break;
    }
}
