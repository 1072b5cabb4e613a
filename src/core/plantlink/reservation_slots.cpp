#include "core/plantlink/reservation_slots.h"

const QString ReservationSlots::mortar_order_no = QStringLiteral("99");

ReservationSlots::ReservationSlots(QObject *parent) : QObject(parent) {}

QString ReservationSlots::field(int row, int f) const
{
    return fields_.at(row - 1).at(f - 1);
}

void ReservationSlots::set_field(int row, int f, const QString &text)
{
    QString &slot = fields_.at(row - 1).at(f - 1);
    if (slot == text)
        return;
    slot = text;
    Q_EMIT field_changed(row, f, text);
    if (f == OrderNo)
        Q_EMIT load_replaced(row);
}

QString ReservationSlots::yusa(int row, int f) const
{
    return yusa_.at(row - 1).at(f - 1);
}

void ReservationSlots::set_yusa(int row, int f, const QString &text)
{
    QString &slot = yusa_.at(row - 1).at(f - 1);
    if (slot == text)
        return;
    slot = text;
    Q_EMIT yusa_changed(row, f, text);
}

int ReservationSlots::find_free_slot_by_order(int unit) const
{
    for (int slot = 1; slot <= 3; ++slot)
        if (field(unit, slot, OrderNo).isEmpty())
            return slot;
    return no_free_slot;
}

int ReservationSlots::find_free_slot_by_vehicle(int unit) const
{
    for (int slot = 1; slot <= 3; ++slot)
        if (field(unit, slot, VehicleNo).isEmpty())
            return slot;
    return no_free_slot;
}

void ReservationSlots::clear_slot(int row, bool yusa_mode)
{
    for (int f = 1; f <= field_count; ++f)
        set_field(row, f, QString());
    if (yusa_mode)
        for (int f = 1; f <= yusa_count; ++f)
            set_yusa(row, f, QString());
    Q_EMIT load_replaced(row);
}

void ReservationSlots::shift_queue(int unit, bool yusa_mode)
{
    for (int slot = 1; slot <= 2; ++slot) {
        const int to = row_of(unit, slot);
        const int from = to + 1;
        for (int f = 1; f <= field_count; ++f)
            set_field(to, f, field(from, f));
        if (yusa_mode)
            for (int f = 1; f <= yusa_count; ++f)
                set_yusa(to, f, yusa(from, f));
        Q_EMIT load_replaced(to);
    }
    clear_slot(row_of(unit, 3), yusa_mode);
}

void ReservationSlots::copy_into_yusa()
{
    for (int row = 1; row <= row_count; ++row) {
        set_yusa(row, YusaProduct, field(row, Product));
        set_yusa(row, YusaQuantity, field(row, Quantity));
        set_yusa(row, YusaVehicle, field(row, VehicleNo));
    }
}
