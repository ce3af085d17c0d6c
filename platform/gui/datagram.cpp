#include "platform/gui/datagram.h"

#include <cstring>

namespace platform::gui {
namespace {

class Writer {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) { raw(v, 2); }
    void u32(std::uint32_t v) { raw(v, 4); }
    void u64(std::uint64_t v) { raw(v, 8); }
    void str(const std::string& s) {
        u32(static_cast<std::uint32_t>(s.size()));
        bytes_.insert(bytes_.end(), s.begin(), s.end());
    }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    void raw(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::vector<std::uint8_t> bytes_;
};

class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> b) : b_(b) {}
    bool u8(std::uint8_t& v) {
        if (b_.size() - pos_ < 1)
            return false;
        v = b_[pos_++];
        return true;
    }
    template <class T>
    bool num(T& v, int n) {
        if (b_.size() - pos_ < static_cast<std::size_t>(n))
            return false;
        std::uint64_t x = 0;
        for (int i = 0; i < n; ++i) x |= static_cast<std::uint64_t>(b_[pos_ + i]) << (8 * i);
        pos_ += static_cast<std::size_t>(n);
        v = static_cast<T>(x);
        return true;
    }
    bool str(std::string& s) {
        std::uint32_t n = 0;
        if (!num(n, 4) || b_.size() - pos_ < n)
            return false;
        s.assign(reinterpret_cast<const char*>(b_.data() + pos_), n);
        pos_ += n;
        return true;
    }
    bool atEnd() const { return pos_ == b_.size(); }

  private:
    std::span<const std::uint8_t> b_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::uint8_t> encodeDatagram(const Datagram& d) {
    Writer w;
    w.u32(kDatagramMagic);
    w.u16(static_cast<std::uint16_t>(d.kind));
    switch (d.kind) {
        case DatagramKind::Post:
            w.u32(d.window), w.u32(d.message), w.u64(d.wParam),
                w.u64(static_cast<std::uint64_t>(d.lParam));
            break;
        case DatagramKind::Send:
            w.u64(d.sequence), w.u32(static_cast<std::uint32_t>(d.senderPid));
            w.u32(d.window), w.u32(d.message), w.u64(d.wParam),
                w.u64(static_cast<std::uint64_t>(d.lParam));
            break;
        case DatagramKind::SendReply:
            w.u64(d.sequence), w.u64(static_cast<std::uint64_t>(d.lParam));
            break;
        case DatagramKind::Control:
            w.u64(d.sequence), w.str(d.replyPath), w.str(d.text);
            break;
        case DatagramKind::ControlReply:
            w.u64(d.sequence), w.u8(d.ok ? 1 : 0), w.str(d.text);
            break;
        case DatagramKind::Activate:
            w.u32(d.window), w.u8(d.ok ? 1 : 0);
            break;
    }
    return w.take();
}

std::optional<Datagram> decodeDatagram(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxDatagramSize)
        return std::nullopt;
    Reader r(bytes);
    std::uint32_t magic = 0;
    std::uint16_t kind = 0;
    if (!r.num(magic, 4) || magic != kDatagramMagic || !r.num(kind, 2))
        return std::nullopt;
    Datagram d;
    d.kind = static_cast<DatagramKind>(kind);
    bool ok = false;
    std::uint8_t flag = 0;
    switch (d.kind) {
        case DatagramKind::Post:
            ok = r.num(d.window, 4) && r.num(d.message, 4) && r.num(d.wParam, 8) &&
                 r.num(d.lParam, 8);
            break;
        case DatagramKind::Send:
            ok = r.num(d.sequence, 8) && r.num(d.senderPid, 4) && r.num(d.window, 4) &&
                 r.num(d.message, 4) && r.num(d.wParam, 8) && r.num(d.lParam, 8);
            break;
        case DatagramKind::SendReply:
            ok = r.num(d.sequence, 8) && r.num(d.lParam, 8);
            break;
        case DatagramKind::Control:
            ok = r.num(d.sequence, 8) && r.str(d.replyPath) && r.str(d.text);
            break;
        case DatagramKind::ControlReply:
            ok = r.num(d.sequence, 8) && r.u8(flag) && flag <= 1 && r.str(d.text);
            d.ok = flag == 1;
            break;
        case DatagramKind::Activate:
            ok = r.num(d.window, 4) && r.u8(flag) && flag <= 1;
            d.ok = flag == 1;
            break;
        default:
            return std::nullopt;
    }
    if (!ok || !r.atEnd())
        return std::nullopt;
    return d;
}

}  // namespace platform::gui
