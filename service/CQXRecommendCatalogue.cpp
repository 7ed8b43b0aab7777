#include "service/CQXRecommendCatalogue.h"

#include "service/CQX_RecommendVisitor.h"
#include "platform/AppFolders.h"
#include "platform/FileSystem.h"
#include "taobao/TaobaoXml.h"

#include <Poco/DigestEngine.h>
#include <Poco/MD5Engine.h>

#include <algorithm>
#include <fstream>

const char* const CQXRecommendCatalogue::kRecommendFile = "../datafiles/data/recommend.xml";
const char* const CQXRecommendCatalogue::kPictureDir = "../datafiles/recommend/";

namespace
{

// "全部导购" (all recommendations) in the system code page.
const char* const kGeneralClassName = "\xC8\xAB\xB2\xBF\xB5\xBC\xB9\xBA";
// Picture paths have always fitted a 127-byte buffer; the callers keep that limit.
const size_t kMaxPicturePath = 126;
const size_t kMaxKeptExtension = 8;

// A file name too long for the path buffer is replaced by its digest, keeping
// a short extension, so that distinct pictures keep distinct files.
std::string shortenedName(const std::string& name)
{
    Poco::MD5Engine md5;
    md5.update(name);
    std::string shortName = Poco::DigestEngine::digestToHex(md5.digest());
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && name.size() - dot <= kMaxKeptExtension)
        shortName += name.substr(dot);
    return shortName;
}

}

CQXRecommendCatalogue& CQXRecommendCatalogue::getInstance()
{
    static CQXRecommendCatalogue instance;
    return instance;
}

CQXRecommendCatalogue::CQXRecommendCatalogue(std::string file, std::string pictureDir)
    : m_file(AppFolders::Resolve(file)), m_pictureDir(std::move(pictureDir))
{
    Load();
}

void CQXRecommendCatalogue::Load()
{
    reset();
    CQX_RecommendVisitor visitor;
    TaobaoXml::walkFile(m_file, visitor);
    m_ver = visitor.ver;
    m_vol = visitor.vol;
    for (const auto& entry : visitor.items)
        addItem(entry.first, entry.second);
}

void CQXRecommendCatalogue::FinishUpdate(bool updated)
{
    if (!IsReady() && updated) {
        Load();
        // The pictures of the previous package; its folders stay.
        DeleteFilesInDir(AppFolders::Resolve(m_pictureDir).c_str());
    }
    m_ready.store(true, std::memory_order_release);
}

void CQXRecommendCatalogue::GetClassNames(std::vector<std::string>& out) const
{
    for (const CQXRecommendClass& recommendClass : m_classes)
        out.push_back(recommendClass.className);
}

void CQXRecommendCatalogue::SetCurrentClass(int id)
{
    m_currentClass = id >= 1 && id < ClassCount() ? id : 0;
}

int CQXRecommendCatalogue::ItemCount() const
{
    return m_classes[m_currentClass].itemCount();
}

const CQXRecommendItem* CQXRecommendCatalogue::GetItem(int index) const
{
    const CQXRecommendClass& current = m_classes[m_currentClass];
    return index >= 0 && index < current.itemCount() ? &current.items[index] : nullptr;
}

CQXRecommendItem* CQXRecommendCatalogue::item(int index)
{
    return const_cast<CQXRecommendItem*>(GetItem(index));
}

std::string CQXRecommendCatalogue::PicturePath(int index) const
{
    const CQXRecommendItem* recommendation = GetItem(index);
    if (!recommendation)
        return std::string();
    std::string name = pictureFileName(recommendation->pictureUrl);
    if (name.empty())
        return std::string();
    std::string prefix = m_pictureDir + std::to_string(m_vol) + "_";
    if (prefix.size() + name.size() > kMaxPicturePath)
        name = shortenedName(name);
    return prefix + name;
}

bool CQXRecommendCatalogue::IsPictureReady(int index)
{
    CQXRecommendItem* recommendation = item(index);
    if (!recommendation)
        return false;
    if (!recommendation->pictureReady) {
        std::string path = PicturePath(index);
        recommendation->pictureReady = !path.empty() && std::ifstream(AppFolders::Resolve(path)).is_open();
    }
    return recommendation->pictureReady;
}

void CQXRecommendCatalogue::MarkPictureReady(int index)
{
    if (CQXRecommendItem* recommendation = item(index))
        recommendation->pictureReady = true;
}

void CQXRecommendCatalogue::reset()
{
    m_classes.clear();
    m_ver = 0;
    m_vol = 0;
    CQXRecommendClass general;
    general.classIndex = 0;
    general.className = kGeneralClassName;
    m_classes.push_back(std::move(general));
    m_currentClass = 0;
}

// Class 0 is never matched by name: a class named like it is a class of its own.
void CQXRecommendCatalogue::addItem(const std::string& className, const CQXRecommendItem& recommendation)
{
    if (!className.empty()) {
        auto named = std::find_if(m_classes.begin() + 1, m_classes.end(),
                                  [&](const CQXRecommendClass& c) { return c.className == className; });
        if (named == m_classes.end()) {
            CQXRecommendClass added;
            added.classIndex = ClassCount();
            added.className = className;
            m_classes.push_back(std::move(added));
            named = m_classes.end() - 1;
        }
        named->items.push_back(recommendation);
    }
    m_classes[0].items.push_back(recommendation);
}

// The part after the URL's last "/" (a "/" in first place does not count).
std::string CQXRecommendCatalogue::pictureFileName(const std::string& url) const
{
    size_t slash = url.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return std::string();
    return url.substr(slash + 1);
}
