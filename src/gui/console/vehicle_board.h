#pragma once
#include <QObject>
#include <functional>

struct AppContext;
class BoardGrid;
class QCheckBox;
class QPushButton;
class QTableWidget;
class RecordTableModel;

// The waiting vehicles with their trip counts, the service switching and a
// truck's trips of the day.  Its widgets are placed by the console window.
class VehicleBoard : public QObject {
    Q_OBJECT
public:
    VehicleBoard(AppContext &ctx, std::function<QString()> board_date, QObject *parent = nullptr);

    // Operations offered to the rest of the program; they throw DbError.
    void load_vehicles(const QString &state);
    void recount_all_vehicles(const QString &date);
    void recount_vehicle(const QString &date, const QString &vehicle_code, const QString &site_name);
    void show_vehicle_trips(const QString &vehicle_code);

    // The vehicle under the cursor: its code and number, empty without one.
    QString current_code() const;
    QString current_number() const;

    // Run by a double-click in the in-service mode: the console sends the
    // vehicle to a reservation slot.
    std::function<void()> send_to_slot;

    QCheckBox *car_chk;
    QPushButton *car_yes_btn;
    BoardGrid *car_grid;
    RecordTableModel *car_query;
    QTableWidget *RGrid;
    bool trip_list_suppressed = false;

    void car_gridClick();
    void car_gridKeyUp();
    void car_gridDblClick();
    void car_chkClick();
    void car_yes_btnClick();

private:
    QWidget *window() const;

    AppContext &ctx_;
    std::function<QString()> board_date_;
};
