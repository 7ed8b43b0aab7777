#pragma once
#include <CEGUI/CEGUI.h>

// The four sort buttons of the top bar. Each state has its own images: grey
// for an inactive sort, highlighted for the active one, with an arrow for
// the direction of price and time.
class CQX_SortButtons
{
public:
    enum Button
    {
        Credit,
        Price,
        Volume,
        Time,
        ButtonCount,
    };

    // Button states: 0 inactive; credit 3; price 1 descending, 2 ascending;
    // volume 4; time 5 descending, 6 ascending.
    enum State
    {
        Inactive = 0,
        PriceDown = 1,
        PriceUp = 2,
        CreditActive = 3,
        VolumeActive = 4,
        TimeDown = 5,
        TimeUp = 6,
    };

    void Attach();
    bool IsAttached() const { return m_buttons[Credit] != nullptr; }
    CEGUI::Window* GetButton(Button button) const { return m_buttons[button]; }

    // Shows a state; a state the button does not have leaves it unchanged.
    void Show(Button button, int state);
    // The button in that state, every other button inactive.
    void ShowOnly(Button button, int state);
    // The buttons as they look for a sort type (1-4) and direction.
    void ShowSort(int type, bool flag);

    int CreditState() const { return m_creditState; }
    int PriceState() const { return m_priceState; }
    // Listing time alternates: descending on the first click, then ascending.
    bool TimeFlag() const { return m_timeFlag; }
    void InvertTimeFlag() { m_timeFlag = !m_timeFlag; }

private:
    CEGUI::Window* m_buttons[ButtonCount] = {};
    int m_creditState = CreditActive;
    int m_priceState = Inactive;
    bool m_timeFlag = false;
};
