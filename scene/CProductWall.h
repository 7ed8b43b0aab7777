#pragma once
#include "render/CWallView.h"
#include "scene/CProductCard.h"
#include "scene/CScrollMotion.h"
#include "scene/CWallGeometry.h"
#include "scene/CWallLayout.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CPickRay;
class RenderDevice;

// The 3D scene behind the GUI: cards standing in columns on a long strip
// that scrolls sideways and swings about the vertical axis, the bottom row
// mirrored on an imaginary floor, in front of a dark backdrop. It owns the
// cards by product position and decides which of them stay in memory.
//
// Everything runs on the render thread. Each frame the wall publishes its
// visible range and speed (CWallView) for the render worker thread.
class CProductWall
{
public:
    // Eviction starts when the wall holds this many slots.
    static constexpr size_t kEvictionThreshold = 80;
    static constexpr int kMaxEvictedPerFrame = 5;
    static constexpr int kKeptMargin = CWallView::kKeptMargin;
    static constexpr int kMaxProducts = 20000;

    static CProductWall& getInstance();

    CProductWall();
    CProductWall(const CProductWall&) = delete;
    CProductWall& operator=(const CProductWall&) = delete;

    // Creates the shared geometry, lights and shadow textures on the device.
    void InitDevice(RenderDevice& device);
    // Refills the shared geometry and every card's picture quad.
    void RebuildGeometry();

    // Switches layout keeping the first visible card first.
    void SetBigPictures(bool big);
    bool IsBigPictures() const { return m_layout == &CWallLayout::Big(); }
    const CWallLayout& Layout() const { return *m_layout; }
    void ScrollToIndex(int index);
    // The scroll limit for a list of count products (at most 20000).
    void SetScrollLimit(int count);
    int GetFirstVisibleIndex() const;

    // Drops every card and puts the motion back to rest at position 0.
    void ClearCards();
    bool IsMoving() const { return m_motion.IsMoving(); }
    bool IsAtRest() const { return m_motion.IsAtRest(); }
    bool IsGliding() const { return m_motion.IsGliding(); }
    CScrollMotion& Motion() { return m_motion; }
    const CScrollMotion& Motion() const { return m_motion; }

    // A real card (not a placeholder) stands at index.
    bool HasCard(int index) const;
    std::string GetCardPicturePath(int index) const;
    size_t SlotCount() const { return m_cards.size(); }
    // An empty position becomes a placeholder panel until its card comes.
    void MarkPlaceholder(int index);

    // Places a card, taking the textures only when it returns true; false
    // when the index already shows a real card (the caller keeps its
    // textures then). A null picture texture is loaded from the path.
    bool AddProductCard(int index, const std::string& picturePath, const std::string& numIid, TexturePtr&& picture,
                        TexturePtr&& card);
    // The same for a recommendation: the picture keeps a height of 220.
    bool AddRecommendCard(int index, TexturePtr&& picture, TexturePtr&& card);
    bool AddShopCard(int index, TexturePtr&& picture, TexturePtr&& card, const std::string& picturePath);

    // Removes up to 5 slots far from the screen, once the wall holds 80 or
    // more, and returns their indices, so their cards can be prepared again.
    std::vector<int> CollectFarCards();

    // Advances the motion to now and draws backdrop and cards on top of the
    // current world transform (the camera's, see CSceneCamera).
    void Render(uint32_t now);
    // Advances the motion to now and returns the first card the ray hits, or -1.
    int Pick(uint32_t now, const CPickRay& ray);
    void DrawBackdrop();

    int GetHoveredIndex() const { return m_hoveredIndex; }
    void SetHoveredIndex(int index) { m_hoveredIndex = index; }

private:
    using Slots = std::map<int, std::unique_ptr<CProductCard>>;

    // A frame's walk over the cards: the wall's transform and the index range.
    struct Pass
    {
        D3DXMATRIX wall;
        int begin = 0;
        int end = 0;
    };

    void PlaceCard(int index, std::unique_ptr<CProductCard> card);
    // Advances the motion to now and sets the wall up on top of base.
    Pass AdvanceTo(uint32_t now, const D3DXMATRIX& base);
    void PublishView() const;
    D3DXMATRIX CardWorld(int index, const D3DXMATRIX& wall) const;
    D3DXMATRIX HoveredWorld(int index, const D3DXMATRIX& card) const;
    void DrawSlot(int index, const CProductCard* card, const D3DXMATRIX& wall);
    void DrawCardBody(const CProductCard& card, D3DXMATRIX world, bool reflect);
    void DrawShadow(const CProductCard& card, const D3DXMATRIX& world);
    void DrawPicture(const CProductCard& card, bool reflect);
    void DrawDimmingVeil();
    void DrawTextured(const Texture* texture, const VertexBuffer& quad);
    bool IsDimmed(const CProductCard& card) const;
    bool IsFar(int index, int first) const;

    const CWallLayout* m_layout;
    int m_hoveredIndex = -1;
    CScrollMotion m_motion;
    RenderDevice* m_device = nullptr;
    CWallGeometry m_geometry;
    Slots m_cards;
};
