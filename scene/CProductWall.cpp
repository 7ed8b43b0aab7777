#include "scene/CProductWall.h"

#include "mainwnd/CQX_GlobalVariable.h"
#include "platform/RenderDevice.h"
#include "platform/Ticks.h"
#include "render/CWallView.h"
#include "scene/CCardFontSet.h"
#include "scene/CCardPainter.h"
#include "scene/CPickRay.h"
#include "service/CQXRecommendCatalogue.h"
#include "taobao/CTaobaoDataStore.h"

#include <algorithm>

namespace {

constexpr int kFavoriteProductsMode = 2;
constexpr int kCardHalfWidth = 119;
constexpr int kCardHeight = CWallGeometry::kCardHeight;
constexpr int kCardChrome = CWallGeometry::kCardChrome;
constexpr double kScrollCap = CScrollMotion::kMaxScroll;
// Card text stays sharp when a card comes close (point magnification) and
// readable when it is small: at 1280 x 800 a card's text is drawn at 40% of
// its size or less, which point sampling without mipmaps turns to noise.
// The nearest mip level, filtered, looks as good as blending two levels and
// costs the software renderer a third less per frame.
const SamplerFilters kTextFilters{TextureFilter::Point, TextureFilter::Linear, TextureFilter::Point};
const SamplerFilters kPictureFilters{TextureFilter::Linear, TextureFilter::Linear, TextureFilter::Point};

// Applies step in the space of what world already places (Direct3D's
// "multiply transform"): step acts first on the vertices.
D3DXMATRIX Then(const D3DXMATRIX& step, const D3DXMATRIX& world)
{
    return D3DXMatrixMultiply(step, world);
}

}

CProductWall& CProductWall::getInstance()
{
    static CProductWall wall;
    return wall;
}

CProductWall::CProductWall()
    : m_layout(&CWallLayout::Big()), m_motion(GetTickCount())
{
    // The card fonts are made here on the render thread, before the render
    // worker composes its first card.
    CCardFontSet::getInstance();
    PublishView();
}

void CProductWall::InitDevice(RenderDevice& device)
{
    m_device = &device;
    m_geometry.Create(device);
}

void CProductWall::RebuildGeometry()
{
    if (!m_device)
        return;
    m_geometry.Rebuild();
    for (auto& slot : m_cards)
        if (slot.second)
            slot.second->RebuildQuad();
}

void CProductWall::SetBigPictures(bool big)
{
    const int first = GetFirstVisibleIndex();
    m_layout = big ? &CWallLayout::Big() : &CWallLayout::Small();
    ScrollToIndex(first);
}

void CProductWall::ScrollToIndex(int index)
{
    const double p = m_layout->ScrollOfIndex(index);
    if (p < kScrollCap)
        m_motion.scrollPosition = p <= 0.01 ? 0 : p;
    PublishView();
}

void CProductWall::SetScrollLimit(int count)
{
    const double x = m_layout->Pitch() * (std::min(count, kMaxProducts) / static_cast<double>(m_layout->rows));
    if (x > kScrollCap)
        m_motion.scrollLimit = kScrollCap;
    else if (x > 0)
        m_motion.scrollLimit = x;
}

int CProductWall::GetFirstVisibleIndex() const
{
    return m_layout->FirstVisibleIndex(m_motion.scrollPosition);
}

void CProductWall::ClearCards()
{
    m_cards.clear();
    m_motion.Rest(GetTickCount());
    SetScrollLimit(m_layout->ScreenCount());
    PublishView();
}

bool CProductWall::HasCard(int index) const
{
    auto found = m_cards.find(index);
    return found != m_cards.end() && found->second;
}

std::string CProductWall::GetCardPicturePath(int index) const
{
    auto found = m_cards.find(index);
    return found != m_cards.end() && found->second ? found->second->PicturePath() : std::string();
}

void CProductWall::MarkPlaceholder(int index)
{
    if (index >= 0)
        m_cards.emplace(index, nullptr);
}

void CProductWall::PlaceCard(int index, std::unique_ptr<CProductCard> card)
{
    m_cards[index] = std::move(card);
}

bool CProductWall::AddProductCard(int index, const std::string& picturePath, const std::string& numIid,
                                  TexturePtr&& picture, TexturePtr&& card)
{
    if (index < 0 || HasCard(index))
        return false;
    TexturePtr pictureTexture = std::move(picture);
    if (!pictureTexture && m_device)
        pictureTexture = CCardPainter::LoadPictureTexture(picturePath, *m_device);
    PlaceCard(index, std::make_unique<CProductCard>(std::move(pictureTexture), std::move(card),
                                                    CPictureSize::OfFile(picturePath), picturePath, numIid));
    return true;
}

bool CProductWall::AddRecommendCard(int index, TexturePtr&& picture, TexturePtr&& card)
{
    if (index < 0 || HasCard(index))
        return false;
    CPictureSize size;
    if (picture)
        size.width = CPictureSize::OfFile(CQXRecommendCatalogue::getInstance().PicturePath(index)).width;
    PlaceCard(index, std::make_unique<CProductCard>(std::move(picture), std::move(card), size, "", ""));
    return true;
}

bool CProductWall::AddShopCard(int index, TexturePtr&& picture, TexturePtr&& card, const std::string& picturePath)
{
    if (index < 0 || HasCard(index))
        return false;
    const CPictureSize size = picture ? CPictureSize::OfFile(picturePath) : CPictureSize();
    PlaceCard(index,
              std::make_unique<CProductCard>(std::move(picture), std::move(card), size, picturePath, ""));
    return true;
}

bool CProductWall::IsFar(int index, int first) const
{
    return index >= 0 && (index < first - kKeptMargin || index > first + m_layout->ScreenCount() + kKeptMargin);
}

std::vector<int> CProductWall::CollectFarCards()
{
    std::vector<int> collected;
    if (m_cards.size() < kEvictionThreshold)
        return collected;
    const int first = GetFirstVisibleIndex();
    // Placeholders far away go as well: kept, they would be collected again
    // every frame and hold back the cards behind them.
    for (auto it = m_cards.begin(); it != m_cards.end() && collected.size() < kMaxEvictedPerFrame;) {
        if (!IsFar(it->first, first)) {
            // Past the near end of the kept range: continue after its far end.
            it = m_cards.upper_bound(std::max(it->first, first + m_layout->ScreenCount() + kKeptMargin));
            continue;
        }
        collected.push_back(it->first);
        it = m_cards.erase(it);
    }
    return collected;
}

void CProductWall::PublishView() const
{
    CWallView::getInstance().Publish(GetFirstVisibleIndex(), m_layout->ScreenCount(), m_motion.scrollVelocity);
}

D3DXMATRIX CProductWall::CardWorld(int index, const D3DXMATRIX& wall) const
{
    const D3DXVECTOR3 offset = m_layout->CardOffset(index);
    const D3DXMATRIX placed = Then(D3DXMatrixTranslation(offset.x, offset.y, offset.z), wall);
    return Then(D3DXMatrixScaling(m_layout->scale, m_layout->scale, 1), placed);
}

D3DXMATRIX CProductWall::HoveredWorld(int index, const D3DXMATRIX& card) const
{
    const D3DXMATRIX lifted = Then(D3DXMatrixTranslation(0, m_layout->HoverLiftOf(index), 0), card);
    return Then(D3DXMatrixScaling(m_layout->hoverScale, m_layout->hoverScale, 1), lifted);
}

CProductWall::Pass CProductWall::AdvanceTo(uint32_t now, const D3DXMATRIX& base)
{
    // The range follows the speed the wall had coming into this frame.
    const CWallLayout::Speed speed = CWallLayout::SpeedOf(m_motion.scrollVelocity);
    const D3DXMATRIX anchored = Then(D3DXMatrixTranslation(m_layout->wallX, m_layout->wallY, 0), base);
    m_motion.Update(now);
    PublishView();
    Pass pass;
    pass.wall = Then(m_motion.Transform(), anchored);
    m_layout->DrawnRange(GetFirstVisibleIndex(), speed, pass.begin, pass.end);
    return pass;
}

int CProductWall::Pick(uint32_t now, const CPickRay& ray)
{
    const D3DXMATRIX base = m_device ? m_device->GetTransform(TransformType::World) : D3DXMatrixIdentity();
    const Pass pass = AdvanceTo(now, base);
    for (auto it = m_cards.lower_bound(pass.begin); it != m_cards.end() && it->first < pass.end; ++it) {
        const int height = it->second ? it->second->PictureSize().height + kCardChrome : kCardHeight;
        if (ray.HitsRectangle(-kCardHalfWidth, 0, kCardHalfWidth, static_cast<float>(height),
                              CardWorld(it->first, pass.wall)))
            return it->first;
    }
    return -1;
}

void CProductWall::Render(uint32_t now)
{
    if (!m_device)
        return;
    RenderDevice& device = *m_device;
    DrawBackdrop();
    const D3DXMATRIX base = device.GetTransform(TransformType::World);
    const Pass pass = AdvanceTo(now, base);
    const SamplerFilters saved = device.GetSamplerFilters();
    device.SetSamplerFilters(kTextFilters);
    for (auto it = m_cards.lower_bound(pass.begin); it != m_cards.end() && it->first < pass.end; ++it)
        DrawSlot(it->first, it->second.get(), pass.wall);
    // The hovered card once more, on top of its neighbours.
    auto hovered = m_cards.find(m_hoveredIndex);
    if (hovered != m_cards.end())
        DrawSlot(hovered->first, hovered->second.get(), pass.wall);
    device.SetSamplerFilters(saved);
    device.SetTransform(TransformType::World, base);
}

void CProductWall::DrawBackdrop()
{
    if (m_device)
        m_geometry.DrawBackdrop(*m_device);
}

void CProductWall::DrawSlot(int index, const CProductCard* card, const D3DXMATRIX& wall)
{
    const D3DXMATRIX world = CardWorld(index, wall);
    if (!card) {
        m_device->SetTransform(TransformType::World, world);
        m_geometry.DrawPlaceholder(*m_device);
        return;
    }
    const bool hovered = index == m_hoveredIndex;
    DrawCardBody(*card, hovered ? HoveredWorld(index, world) : world, m_layout->IsBottomRow(index) && !hovered);
}

bool CProductWall::IsDimmed(const CProductCard& card) const
{
    return CQX_GlobalVariable::getInstance().GetCurrentModeId() == kFavoriteProductsMode &&
           !CTaobaoDataStore::getInstance().favorites.containsFeed(card.NumIid());
}

void CProductWall::DrawCardBody(const CProductCard& card, D3DXMATRIX world, bool reflect)
{
    RenderDevice& device = *m_device;
    const bool dimmed = IsDimmed(card);
    if (dimmed)
        world = Then(D3DXMatrixTranslation(29.75f, 44, 0), Then(D3DXMatrixScaling(0.75f, 0.75f, 1), world));
    device.SetLighting(false);
    DrawShadow(card, world);
    device.SetTransform(TransformType::World, world);
    if (card.PictureSize().height >= CWallGeometry::kFullPicture) {
        device.SetTexture(nullptr);
        device.SetStreamSource(&m_geometry.PictureBackground());
        device.DrawTriangleList(0, 2);
    }
    DrawPicture(card, reflect);
    DrawTextured(card.CardTexture(), m_geometry.TextQuad());
    if (dimmed)
        DrawDimmingVeil();
}

void CProductWall::DrawShadow(const CProductCard& card, const D3DXMATRIX& world)
{
    RenderDevice& device = *m_device;
    device.SetTransform(TransformType::World, world);
    device.SetAlphaBlend(true);
    device.SetBlendFactors(BlendFactor::InvSrcAlpha, BlendFactor::SrcAlpha);
    DrawTextured(m_geometry.BackShadow(), card.ShadowRing());
    device.SetAlphaBlend(false);
}

void CProductWall::DrawPicture(const CProductCard& card, bool reflect)
{
    RenderDevice& device = *m_device;
    device.SetSamplerFilters(kPictureFilters);
    DrawTextured(card.PictureTexture(), card.PictureQuad());
    device.SetSamplerFilters(kTextFilters);
    if (!reflect || !card.PictureTexture())
        return;
    device.SetAlphaBlend(true);
    device.SetBlendFactors(BlendFactor::SrcAlpha, BlendFactor::One);
    DrawTextured(card.PictureTexture(), m_geometry.ReflectionQuad());
    device.SetAlphaBlend(false);
    device.SetBlendFactors(BlendFactor::One, BlendFactor::Zero);
}

void CProductWall::DrawDimmingVeil()
{
    RenderDevice& device = *m_device;
    device.SetAlphaBlend(true);
    device.SetBlendFactors(BlendFactor::SrcColor, BlendFactor::InvSrcColor);
    DrawTextured(m_geometry.FrontShadow(), m_geometry.ShadowQuad());
    device.SetAlphaBlend(false);
}

void CProductWall::DrawTextured(const Texture* texture, const VertexBuffer& quad)
{
    if (!texture)
        return;
    m_device->SetTexture(texture);
    m_device->SetStreamSource(&quad);
    m_device->DrawTriangleList(0, quad.VertexCount() / 3);
    m_device->SetTexture(nullptr);
}
