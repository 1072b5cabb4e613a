#pragma once
#include <QObject>
#include <QString>
#include <array>

// The six reservation slot rows of the two batch units (rows 1-3 are slots
// 1-3 of unit 1, rows 4-6 those of unit 2), each of eight fields and three
// yusa fields.  The console's edit fields show this model and write back
// into it; frames, the queue shift and the shipment recording read it.
class ReservationSlots : public QObject {
    Q_OBJECT
public:
    // Field numbers of a slot row.
    enum Field {
        OrderNo = 1,    // order number, "99" for mortar
        Product = 2,    // product code (remi_code)
        SpecName = 3,   // specification name (v_rule)
        Quantity = 4,   // m3 as typed
        VehicleNo = 5,  // vehicle number (car_code.scode)
        Customer = 6,   // customer name (v_inout)
        VehicleCode = 7,// vehicle code (car_code.code)
        Site = 8,       // site name (v_station)
    };
    enum YusaField { YusaProduct = 1, YusaQuantity = 2, YusaVehicle = 3 };

    static constexpr int row_count = 6;
    static constexpr int field_count = 8;
    static constexpr int yusa_count = 3;
    static constexpr int no_free_slot = 4;
    static const QString mortar_order_no;  // "99"

    explicit ReservationSlots(QObject *parent = nullptr);

    static int row_of(int unit, int slot) { return (unit - 1) * 3 + slot; }

    QString field(int row, int field) const;
    void set_field(int row, int field, const QString &text);
    QString yusa(int row, int field) const;
    void set_yusa(int row, int field, const QString &text);

    QString field(int unit, int slot, int f) const { return field(row_of(unit, slot), f); }

    // 1, 2 or 3: the unit's first slot without an order number (or without
    // a vehicle number); no_free_slot when all three have one.
    int find_free_slot_by_order(int unit) const;
    int find_free_slot_by_vehicle(int unit) const;

    // Empties the eight fields, and the yusa fields when yusa mode is on.
    void clear_slot(int row, bool yusa_mode);

    // The load in slot 1 is done: slot 2 moves to slot 1, slot 3 to slot 2,
    // slot 3 is emptied (the yusa fields too when yusa mode is on).
    void shift_queue(int unit, bool yusa_mode);

    // Yusa mode switched on: every row's yusa fields take its product,
    // quantity and vehicle number.
    void copy_into_yusa();

    // The row's order was typed over (also with the same number).
    void typed_over(int row) { Q_EMIT load_replaced(row); }

Q_SIGNALS:
    void field_changed(int row, int field, const QString &text);
    void yusa_changed(int row, int field, const QString &text);
    // The row holds another load now, or none: its order number changed,
    // it was emptied, typed over or the queue moved.
    void load_replaced(int row);

private:
    std::array<std::array<QString, field_count>, row_count> fields_;
    std::array<std::array<QString, yusa_count>, row_count> yusa_;
};
