#include "ui/qt/server_frames.h"

#include <algorithm>

#include "ui/key_shape.h"

namespace pelmo::ui::qt {

namespace {

// The rain episode stretches its picture to a new size on every tick, up to
// megabytes a frame; past this many distinct frames, or this many bytes of them
// held by the X server, the cache starts afresh instead of growing.
constexpr std::size_t kMaxFrames = 64;
constexpr std::size_t kMaxBytes = 16u << 20;

std::vector<xcb_rectangle_t> ShapeOf(const Picture& picture) {
  std::vector<xcb_rectangle_t> shape;
  for (const ScreenRect& r : KeyShape(picture))
    shape.push_back({static_cast<std::int16_t>(r.left), static_cast<std::int16_t>(r.top),
                     static_cast<std::uint16_t>(r.width), static_cast<std::uint16_t>(r.height)});
  return shape;
}

}  // namespace

std::uint32_t ServerPixel(std::uint32_t rgb, PixelFormat format) {
  return format == PixelFormat::Rgb24 ? rgb : KeyedArgb(rgb);
}

ServerFrames::ServerFrames(xcb_connection_t* connection, xcb_drawable_t window, PixelFormat format)
    : connection_(connection),
      window_(window),
      format_(format),
      depth_(format == PixelFormat::Argb32 ? 32 : 24) {}

ServerFrames::~ServerFrames() {
  Clear();
}

const ServerFrame* ServerFrames::Find(std::uint64_t id) const {
  const auto found = frames_.find(id);
  return found == frames_.end() ? nullptr : &found->second;
}

const ServerFrame& ServerFrames::Get(std::uint64_t id, const Picture& buffer) {
  if (auto found = frames_.find(id); found != frames_.end()) return found->second;
  const std::size_t bytes = buffer.pixels.size() * sizeof(std::uint32_t);
  if (frames_.size() >= kMaxFrames || bytes_ + bytes > kMaxBytes) Clear();
  bytes_ += bytes;
  ServerFrame frame;
  frame.id = id;
  frame.size = QSize(buffer.width, buffer.height);
  frame.pixmap = xcb_generate_id(connection_);
  xcb_create_pixmap(connection_, depth_, frame.pixmap, window_,
                    static_cast<std::uint16_t>(buffer.width),
                    static_cast<std::uint16_t>(buffer.height));
  Upload(frame.pixmap, buffer);
  frame.shape = ShapeOf(buffer);
  for (const xcb_rectangle_t& r : frame.shape) frame.extents |= QRect(r.x, r.y, r.width, r.height);
  return frames_.emplace(id, std::move(frame)).first->second;
}

// In bands of rows that fit the server's largest request, as 32-bit words in
// the server's byte order.
void ServerFrames::Upload(xcb_pixmap_t pixmap, const Picture& buffer) {
  const xcb_gcontext_t gc = xcb_generate_id(connection_);
  xcb_create_gc(connection_, gc, pixmap, 0, nullptr);
  const std::size_t rowBytes = static_cast<std::size_t>(buffer.width) * 4;
  const std::size_t maxBytes = xcb_get_maximum_request_length(connection_) * 4 - 64;
  const std::int32_t band =
      std::max<std::int32_t>(1, static_cast<std::int32_t>(maxBytes / rowBytes));
  const bool swap = xcb_get_setup(connection_)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
  const bool convert = swap || format_ != PixelFormat::Rgb24;
  std::vector<std::uint32_t> words;
  for (std::int32_t top = 0; top < buffer.height; top += band) {
    const std::int32_t rows = std::min(band, buffer.height - top);
    const std::uint32_t* data = buffer.pixels.data() + static_cast<std::size_t>(top) *
                                                           static_cast<std::size_t>(buffer.width);
    const std::size_t count =
        static_cast<std::size_t>(rows) * static_cast<std::size_t>(buffer.width);
    if (convert) {
      words.resize(count);
      std::transform(data, data + count, words.begin(), [&](std::uint32_t rgb) {
        const std::uint32_t word = ServerPixel(rgb, format_);
        return swap ? __builtin_bswap32(word) : word;
      });
      data = words.data();
    }
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc,
                  static_cast<std::uint16_t>(buffer.width), static_cast<std::uint16_t>(rows), 0,
                  static_cast<std::int16_t>(top), 0, depth_, static_cast<std::uint32_t>(count * 4),
                  reinterpret_cast<const std::uint8_t*>(data));
  }
  xcb_free_gc(connection_, gc);
}

void ServerFrames::Clear() {
  for (const auto& [id, frame] : frames_) xcb_free_pixmap(connection_, frame.pixmap);
  frames_.clear();
  bytes_ = 0;
}

}  // namespace pelmo::ui::qt
