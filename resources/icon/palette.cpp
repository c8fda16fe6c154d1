#include "resources/icon/palette.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <tuple>
#include <vector>

namespace resources {
namespace {

constexpr std::size_t ownColours = 255;  // index 0 is kept for black

struct Weighted {
    Rgb8 colour;
    long count = 0;
};

int channel(const Rgb8& c, int which) { return which == 0 ? c.r : which == 1 ? c.g : c.b; }

auto key(const Rgb8& c) { return std::make_tuple(c.r, c.g, c.b); }

// A range of the colour list that becomes one palette entry.
struct Box {
    std::size_t begin, end;
    int widestChannel = 0;
    int width = 0;
};

Box measure(const std::vector<Weighted>& colours, std::size_t begin, std::size_t end) {
    Box box{begin, end};
    for (int c = 0; c < 3; ++c) {
        int low = 255, high = 0;
        for (std::size_t i = begin; i < end; ++i) {
            low = std::min(low, channel(colours[i].colour, c));
            high = std::max(high, channel(colours[i].colour, c));
        }
        if (high - low > box.width) box = {begin, end, c, high - low};
    }
    return box;
}

// Splits the widest box at its weighted median until there are enough boxes
// or none can be split; ties go to the earlier box, so the result is fixed.
std::vector<Rgb8> medianCut(std::vector<Weighted> colours) {
    std::vector<Box> boxes{measure(colours, 0, colours.size())};
    while (boxes.size() < ownColours) {
        auto widest =
            std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.width < b.width; });
        if (widest->width == 0) break;
        const Box box = *widest;
        std::sort(colours.begin() + box.begin, colours.begin() + box.end, [&](const Weighted& a, const Weighted& b) {
            const int ca = channel(a.colour, box.widestChannel), cb = channel(b.colour, box.widestChannel);
            return ca != cb ? ca < cb : key(a.colour) < key(b.colour);
        });
        long total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
        long running = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t i = box.begin; i < box.end - 1; ++i) {
            running += colours[i].count;
            split = i + 1;
            if (2 * running >= total) break;
        }
        *widest = measure(colours, box.begin, split);
        boxes.push_back(measure(colours, split, box.end));
    }
    std::vector<Rgb8> palette;
    for (const Box& box : boxes) {
        long r = 0, g = 0, b = 0, n = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            const Weighted& w = colours[i];
            r += w.colour.r * w.count, g += w.colour.g * w.count, b += w.colour.b * w.count, n += w.count;
        }
        palette.push_back({static_cast<std::uint8_t>((r + n / 2) / n), static_cast<std::uint8_t>((g + n / 2) / n),
                           static_cast<std::uint8_t>((b + n / 2) / n)});
    }
    return palette;
}

std::uint8_t nearest(const std::array<Rgb8, 256>& palette, std::size_t used, const Rgb8& c) {
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < used; ++i) {
        const long dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace

IndexedImage quantize(const RgbaImage& image) {
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    IndexedImage result;
    result.width = image.width;
    result.height = image.height;
    result.indices.assign(count, 0);
    result.transparent.assign(count, true);

    std::map<std::tuple<int, int, int>, long> histogram;
    std::vector<Rgb8> straight(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* px = &image.pixels[i * 4];
        if (px[3] < 128) continue;
        result.transparent[i] = false;
        straight[i] = {px[0], px[1], px[2]};
        ++histogram[key(straight[i])];
    }
    std::vector<Weighted> colours;
    for (const auto& [rgb, n] : histogram)
        colours.push_back({{static_cast<std::uint8_t>(std::get<0>(rgb)), static_cast<std::uint8_t>(std::get<1>(rgb)),
                            static_cast<std::uint8_t>(std::get<2>(rgb))},
                           n});

    std::vector<Rgb8> own;
    if (colours.size() <= ownColours) {
        for (const Weighted& w : colours) own.push_back(w.colour);
    } else {
        own = medianCut(std::move(colours));
    }
    std::copy(own.begin(), own.end(), result.palette.begin() + 1);
    const std::size_t used = own.size() + 1;
    for (std::size_t i = 0; i < count; ++i)
        if (!result.transparent[i]) result.indices[i] = nearest(result.palette, used, straight[i]);
    return result;
}

}  // namespace resources
