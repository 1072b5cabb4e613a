#pragma once
#include <QColor>
#include <QObject>
#include <array>
#include <functional>
#include <optional>

struct AppContext;
class OrderBoard;
class PlantLink;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ReservationSlots;
class VehicleBoard;

// The reservation slots on the console: the two units' rows of edit fields
// over the slot model, the unit selector, the yusa fields, the mortar and
// delete buttons, and how each of them fills or empties a slot.
class ReservationDesk : public QObject {
    Q_OBJECT
public:
    ReservationDesk(AppContext &ctx, OrderBoard &orders, VehicleBoard &vehicles, QObject *parent = nullptr);

    // The link sends frames and knows each unit's last status.
    void set_link(PlantLink *link) { link_ = link; }

    // Finds the vehicle for a typed vehicle number, showing the lookup list
    // when it is not exactly one: the vehicle's number and code, or nothing
    // when none was chosen.
    std::function<std::optional<std::pair<QString, QString>>(const QString &text)> choose_vehicle;

    int selected_unit() const;
    void select_unit(int unit);
    bool yusa_mode() const;
    bool auto_send() const;

    // Operations of the console's events.
    void fill_from_order_board();
    void fill_from_vehicle_board();
    void typed_order_no(int row);
    void typed_quantity(int row);
    void typed_vehicle(int row);
    void moltal_btnClick();
    void delete_slot(int row);
    void yusa_chkClick();
    void go_to_free_slot(int unit);

    void show_unit_status(int unit, const QString &text, const QColor &background);
    // Moves the unit's send indicator across its panel, then hides it.
    void sweep_send_indicator(int unit, const std::function<void()> &done);

    ReservationSlots *slot_model;
    QFrame *Panel10;
    QFrame *Panel23;
    QFrame *yusa_pan1;
    QFrame *yusa_pan2;
    QLabel *display_lab1;
    QLabel *display_lab2;
    QRadioButton *hogi1_rad;
    QRadioButton *hogi2_rad;
    QLabel *send_img1;
    QLabel *send_img2;
    QCheckBox *yusa_chk;
    QCheckBox *autosend_chk;
    QPushButton *moltal_btn;
    // send[r - 1][f - 1] is send<r>_<f>; fsend likewise.
    std::array<std::array<QLineEdit *, 8>, 6> send;
    std::array<std::array<QLineEdit *, 3>, 6> fsend;
    std::array<QPushButton *, 6> send_del_btn;

private:
    QFrame *build_unit_panel(int unit);
    QFrame *build_yusa_panel(int unit);
    void bind(QLineEdit *edit, int row, int field, bool yusa);
    QWidget *window() const;
    void message(const QString &text);
    void focus(int row, int field);
    bool quantity_fits(int row, const QString &quantity);

    AppContext &ctx_;
    OrderBoard &orders_;
    VehicleBoard &vehicles_;
    PlantLink *link_ = nullptr;
};
