#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Product descriptions for the page view's tests and benchmarks.
struct NamedPage
{
    const char* name;
    std::string html;
};

// Descriptions written by sellers, or by someone who wants the viewer to
// fall over: each of these crashes, hangs or misleads an unguarded engine.
std::vector<NamedPage> HostilePages();

// Pages whose layout, unguarded, takes seconds to minutes or hundreds of
// megabytes: huge spans, a very long row, deep nesting.
std::vector<NamedPage> HeavyPages();

// A description as sellers write them: styled paragraphs, parameter tables
// and the pictures between them, of about the given size in UTF-8.
std::string SellerDescription(size_t bytes, const std::vector<std::string>& pictures = {});
