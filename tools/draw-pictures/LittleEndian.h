#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace morvane::pictures {

// Appends the fields of the Windows file headers, which are all little-endian.
class LittleEndian {
  public:
    explicit LittleEndian(QByteArray& out) : out_(out) {}

    void u8(quint8 v) { out_.append(static_cast<char>(v)); }
    void u16(quint16 v) {
        u8(static_cast<quint8>(v & 0xFFu));
        u8(static_cast<quint8>(v >> 8));
    }
    void u32(quint32 v) {
        u16(static_cast<quint16>(v & 0xFFFFu));
        u16(static_cast<quint16>(v >> 16));
    }
    void i32(qint32 v) { u32(static_cast<quint32>(v)); }
    void bytes(const char* text) { out_.append(text); }

  private:
    QByteArray& out_;
};

}  // namespace morvane::pictures
