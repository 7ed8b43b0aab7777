#pragma once
#include "render/CHeavyCostProductRenderMsg.h"

#include <string>

// The card of one product of a search, a shop, the favourites or the
// products viewed today.
class CRenderMsg_ShowProductSnapshot : public CHeavyCostProductRenderMsg
{
public:
    // What the card shows; text in the system code page.
    struct Card
    {
        std::string num_iid;
        std::string title;
        std::string price;
        std::string picturePath;
        std::string saleType;
        std::string volume;
    };

    // modeId: the browsing mode the card was made for; it decides the card's layout.
    CRenderMsg_ShowProductSnapshot(int position, int searchId, int modeId, Card card);
    ~CRenderMsg_ShowProductSnapshot() override;

    void Process() override;
    const char* GetName() const override;
    bool PreRender(std::set<int>& preRendered) override;
    bool IsKept() const override;

    const Card& GetCard() const { return m_card; }
    int GetModeId() const { return m_modeId; }

private:
    TexturePtr DrawCard(RenderDevice& device) const;

    int m_modeId;
    Card m_card;
};
