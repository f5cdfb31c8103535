#include "display/size_cache.h"

CharSize CharSizeCache::Get(int fontHeight, std::uint32_t code) {
    auto& atHeight = sizes_[fontHeight];
    const auto found = atHeight.find(code);
    if (found != atHeight.end()) return found->second;
    const CharSize size = measure_(fontHeight, code);
    atHeight.emplace(code, size);
    return size;
}

MeasureAtHeight CachedMeasure(CharSizeCache& cache, int right, const DisplayText& text) {
    auto layouts = std::make_shared<std::unordered_map<int, LayoutResult>>();
    return [&cache, right, &text, layouts](int fontHeight) {
        const auto found = layouts->find(fontHeight);
        if (found != layouts->end()) return found->second;
        CachedCanvas canvas(cache, fontHeight);
        const LayoutResult r = LayoutText(canvas, 0, 0, right, text, kAdvancePercent, false);
        layouts->emplace(fontHeight, r);
        return r;
    };
}
