#pragma once
#include "mainwnd/CQX_NoticePicture.h"

#include <Poco/Mutex.h>

#include <cstdint>

class RenderDevice;

// The notice picture shown in the middle of the window when the wall has
// nothing to show or something is on its way. Many threads set the state;
// the main window draws it every frame.
class CQX_NoticeBoard
{
public:
    enum State
    {
        None = 0,
        NetworkFailure = 1,
        NoSearchResult = 2,
        NothingViewedToday = 3,
        NoFavoriteProducts = 4,
        OpeningProduct = 5,
        NewBrowse = 6,
        InputRefused = 7,
        ResultsPresent = 8,
        OpeningWebPage = 9,
        NoFavoriteShops = 11,
    };

    static CQX_NoticeBoard& getInstance();

    // Loads the five notice pictures (once the device exists). A picture that
    // does not load is simply never drawn.
    void LoadPictures(RenderDevice& device);
    // Draw the current state's picture 1:1 at the centre of the client area:
    // DrawUnder before the GUI (every state but 9), DrawOver after it (state
    // 9, raised by 0.3 client heights). Both first let an expired state lapse.
    void DrawUnder(uint32_t now);
    void DrawOver(uint32_t now);

    // expiry: 0 for none, else the tick after which the state lapses to None.
    void SetState(int state, uint32_t expiry = 0);
    // Sets the state unless it currently is `kept`, as one step: a worker's
    // "no result" must not overwrite results another worker just reported.
    void SetStateUnless(int state, int kept);
    int GetState() const;
    uint32_t GetExpiry() const;
    // Counts the changes of state: a worker thread's notice (a failed
    // search) must reach a screen that is otherwise still.
    uint32_t GetChangeCount() const;

    CQX_NoticeBoard() = default;
    CQX_NoticeBoard(const CQX_NoticeBoard&) = delete;
    CQX_NoticeBoard& operator=(const CQX_NoticeBoard&) = delete;

private:
    // The five pictures, in the order of their files.
    enum Slot
    {
        SlotNoSearchResult,
        SlotNoTodayProducts,
        SlotNoFavoriteProducts,
        SlotNetworkFailure,
        SlotNoFavoriteShops,
        kSlotCount
    };

    struct Notice
    {
        Slot slot;
        CQX_NoticePicture::Quad quad;
    };

    // The state after letting an expired one lapse at now.
    int CurrentState(uint32_t now);
    static bool NoticeOf(int state, Notice& notice);
    void Draw(const Notice& notice, int offsetY) const;

    CQX_NoticePicture m_pictures[kSlotCount];
    mutable Poco::FastMutex m_mutex;
    int m_state = None;
    uint32_t m_expiry = 0;
    uint32_t m_changes = 0;
};
