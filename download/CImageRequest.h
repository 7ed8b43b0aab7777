#pragma once
#include "render/CCardClaims.h"

#include <functional>
#include <string>

// One picture to fetch into a local file, with the owner's callbacks that
// decide what happens before and after the download.
struct CImageRequest
{
    // The pre-download callback's answers.
    enum PreDownloadResult
    {
        Drop = 0,
        Download = 1,
        SkipDownload = 2,  // the picture is at hand: go straight to the post-download callback
    };

    using Callback = std::function<int(CImageRequest&)>;

    int position = 0;  // the item's key; also how duplicates are found
    int searchId = 0;
    std::string url;
    std::string localPath;  // the callbacks and the downloader may replace it
    Callback preDownload;   // may be empty
    Callback postDownload;  // must be set
    CCardClaims::ClaimPtr claim;  // taken when a picture thread starts on the request
};
