#include "common/FolderWalk_.h"

#include <algorithm>
#include <iterator>
#include <numeric>

namespace common {

std::vector<std::string> SplitFileSpec(const std::string& fileSpec) {
    std::vector<std::string> patterns;
    const std::string terminated = fileSpec + ";";
    std::string::size_type from = 0;
    for (std::string::size_type at = terminated.find(';'); at != std::string::npos; at = terminated.find(';', from)) {
        patterns.push_back(terminated.substr(from, at - from));
        from = at + 1;
    }
    return patterns;
}

namespace {

int PicPatternCount(bool morePicTypes) {
    return morePicTypes ? static_cast<int>(std::size(kPicPatterns)) : kBasicPicPatterns;
}

}  // namespace

std::string PicFileSpec(bool morePicTypes) {
    std::string list;
    for (int i = 0; i < PicPatternCount(morePicTypes); ++i) {
        if (i) list += ';';
        list += kPicPatterns[i];
    }
    return list;
}

std::string PicFileTypes(bool morePicTypes) {
    std::string types = "(";
    // "*.jpe*" is written ".jpe*": only the leading star goes.
    for (int i = 0; i < PicPatternCount(morePicTypes); ++i) {
        if (i) types += ", ";
        types += kPicPatterns[i] + 1;
    }
    return types + ")";
}

std::string WithBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path;
    return path + "\\";
}

bool IsPlainMask(const std::wstring& mask) {
    if (mask.empty() || mask.back() == L'.' || mask.find(L'*') == std::wstring::npos) return false;
    return mask.find_first_of(L"?<>\"\\/:|") == std::wstring::npos;
}

bool MatchesMask(const std::wstring& mask, const std::wstring& name) {
    // Classic star backtracking: on a mismatch, let the last "*" take one more character.
    size_t m = 0, n = 0;
    size_t star = std::wstring::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == L'*') {
            star = ++m;
            starName = n;
        } else if (m < mask.size() && mask[m] == name[n]) {
            ++m;
            ++n;
        } else if (star != std::wstring::npos) {
            m = star;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && (mask[m] == L'*' || mask[m] == L'.')) ++m;
    return m == mask.size();
}

int ListingKindOrder(const std::wstring& added, const std::wstring& held) {
    const auto at = [](const std::wstring& text, size_t i) { return i < text.size() ? text[i] : L'\0'; };
    const bool addedBracket = at(added, 0) == L'[', heldBracket = at(held, 0) == L'[';
    if (!heldBracket) return addedBracket ? 1 : 2;
    if (!addedBracket) return -1;
    const bool addedDrive = at(added, 1) == L'-', heldDrive = at(held, 1) == L'-';
    if (heldDrive) {
        if (!addedDrive) return -1;
        const wchar_t a = at(added, 2), h = at(held, 2);
        return a < h ? -1 : a > h ? 1 : 0;
    }
    return addedDrive ? 1 : 2;
}

std::vector<size_t> ListBoxOrder(size_t count, const std::function<int(size_t, size_t)>& compare) {
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t{0});
    // Names mostly arrive in the listing's own order, which seldom disagrees with the list
    // box's: then every new name goes last and one comparison per name proves it.
    size_t i = 1;
    while (i < count && compare(i, i - 1) > 0) ++i;
    if (i >= count) return order;

    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return compare(a, b) < 0; });
    bool ties = false;
    for (size_t k = 1; k < count && !ties; ++k) ties = compare(order[k], order[k - 1]) == 0;
    if (!ties) return order;

    std::vector<size_t> held;
    held.reserve(count);
    for (size_t item = 0; item < count; ++item) {
        size_t low = 0, high = held.size();
        while (low != high) {
            const size_t middle = (low + high) / 2;
            const int result = compare(item, held[middle]);
            if (result == 0) {
                high = middle;
                break;
            }
            if (result < 0)
                high = middle;
            else
                low = middle + 1;
        }
        held.insert(held.begin() + static_cast<std::ptrdiff_t>(high), item);
    }
    return held;
}

}  // namespace common
