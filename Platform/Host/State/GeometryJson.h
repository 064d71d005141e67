#pragma once

#include "DorvaneCore/Geometry/Rect.h"
#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::host {

// {"x", "y", "width", "height"}, {"x", "y"} and {"width", "height"}: how the host's files
// and the window list write rectangles, points and sizes. Decoding is strict and wants
// finite numbers.
json::Json rectJson(const geometry::Rect& rect);
json::Json pointJson(const geometry::Point& point);
json::Json sizeJson(const geometry::Size& size);
geometry::Rect rectFromJson(const json::Json& value);
geometry::Point pointFromJson(const json::Json& value);
geometry::Size sizeFromJson(const json::Json& value);

// The same forms, for field tables.
inline constexpr json::Codec<geometry::Rect> rectCodec{&rectJson, &rectFromJson};
inline constexpr json::Codec<geometry::Point> pointCodec{&pointJson, &pointFromJson};
inline constexpr json::Codec<geometry::Size> sizeCodec{&sizeJson, &sizeFromJson};

}  // namespace dorvane::host
