#pragma once
#include <QByteArray>
#include <QString>
#include <array>

// The frame that carries a batch unit's queue to its controller:
//   unit 1: STX, slot 1 load, eleven "0", slot 2 load, slot 3 load,
//           three site names of 21 bytes, ETX (109 bytes);
//   unit 2: the same without the site names (46 bytes).
// A load field is the 4-byte product code, the quantity in hundredths of a
// cubic metre (3 digits) and the 4-character vehicle number, or eleven "0"
// for a slot without a complete load.
namespace send_frame {

constexpr char STX = 0x02;
constexpr char ETX = 0x03;

// What one slot puts into the frame (its own fields, or the yusa fields).
struct SlotLoad {
    QString product;
    QString quantity;
    QString vehicle;
    // A load goes out only with a product, a quantity and a 4-character vehicle number.
    bool complete() const { return !product.isEmpty() && !quantity.isEmpty() && vehicle.size() == 4; }
};

// A site name as the controller takes it: blanks and control characters
// trimmed, cut to 21 CP949 bytes without splitting a character, padded
// with spaces to 21 bytes.  Returned as text (it is written back into the
// slot) and as the frame's bytes.
struct SiteName {
    QString text;
    QByteArray bytes;
};
SiteName normalise_site_name(const QString &name);

// The quantity's three digits: hundredths, rounded half to even in single
// precision.  Throws ActionError for a text that is not a number, or for a
// quantity outside 0 to 9.99 m3 that three digits would carry as another
// quantity.
QByteArray quantity_digits(const QString &quantity, int unit, int slot);
// Why the quantity cannot go into a frame (naming the unit and slot), or
// empty when it can.
QString quantity_problem(const QString &quantity, int unit, int slot);

// The 11-byte load field of a slot; throws ActionError (naming the unit and
// the slot) when a complete slot's values would not fit their places.
QByteArray load_field(const SlotLoad &load, int unit, int slot);

// The whole frame; `site_names` are used by unit 1 only and must already be
// normalised.  Throws ActionError as load_field does.
QByteArray build(int unit, const std::array<SlotLoad, 3> &loads,
                 const std::array<QByteArray, 3> &site_names = {});

}
