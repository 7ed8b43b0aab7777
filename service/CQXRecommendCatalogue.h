#pragma once
#include "service/CQXRecommendClass.h"

#include <atomic>
#include <string>
#include <vector>

// The recommendations of the roam mode, read from the maker's package. Class
// 0 ("全部导购") holds every item; named classes follow in the order their
// names first occur. Loaded at start-up and, once, after a newer package
// arrived; after that the render thread alone reads it.
class CQXRecommendCatalogue
{
public:
    static const char* const kRecommendFile;
    static const char* const kPictureDir;

    static CQXRecommendCatalogue& getInstance();

    explicit CQXRecommendCatalogue(std::string file = kRecommendFile, std::string pictureDir = kPictureDir);
    CQXRecommendCatalogue(const CQXRecommendCatalogue&) = delete;
    CQXRecommendCatalogue& operator=(const CQXRecommendCatalogue&) = delete;

    void Load();
    // The start-up update is over (updated: a newer package replaced the
    // file). Reloads at most once, before the catalogue is ready.
    void FinishUpdate(bool updated);
    bool IsReady() const { return m_ready.load(std::memory_order_acquire); }

    int Version() const { return m_ver; }
    int PackageVersion() const { return m_vol; }
    void GetClassNames(std::vector<std::string>& out) const;
    int ClassCount() const { return static_cast<int>(m_classes.size()); }
    // Any id outside the named classes selects class 0.
    void SetCurrentClass(int id);
    int GetCurrentClass() const { return m_currentClass; }

    // Items of the current class; nullptr outside 0 .. ItemCount() - 1.
    int ItemCount() const;
    const CQXRecommendItem* GetItem(int index) const;
    // The local file of an item's card picture; empty when its URL names no file.
    std::string PicturePath(int index) const;
    bool IsPictureReady(int index);
    void MarkPictureReady(int index);

private:
    void reset();
    void addItem(const std::string& className, const CQXRecommendItem& item);
    CQXRecommendItem* item(int index);
    std::string pictureFileName(const std::string& url) const;

    std::string m_file;
    std::string m_pictureDir;
    int m_ver = 0;
    int m_vol = 0;
    std::vector<CQXRecommendClass> m_classes;
    int m_currentClass = 0;
    std::atomic<bool> m_ready{false};
};
