#pragma once
#include "gui/data/app_context.h"
#include "gui/data/console_ops.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/plant_link.h"
#include "core/plantlink/shipment_recording.h"

#include <QHash>
#include <QMainWindow>
#include <array>

class QThread;
class ConsoleNavigation;
class LoadRecorder;
class RecordingThread;
class ReservationDesk;
class SerialLine;
class DateBox;
class OrderBoard;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class RunningClock;
class TwoStateSwitch;
class VehicleBoard;

// The dispatch console, the program's main window.  The areas live in
// their own classes (order board, vehicle board, navigation); the console
// composes them and offers the console operations by delegating to them.
class TF_MAIN : public QMainWindow, public ConsoleOps, public LinkHost {
    Q_OBJECT
public:
    explicit TF_MAIN(AppContext &ctx, QWidget *parent = nullptr);
    ~TF_MAIN() override;

    // ConsoleOps
    QString board_date() const override { return board_date_; }
    QString operator_name() const override;
    void load_orders(const QString &date, const QString &state) override;
    void load_shipments(const QString &date, const QString &seq) override;
    void load_vehicles(const QString &state) override;
    void recount_vehicle(const QString &date, const QString &vehicle_code,
                         const QString &site_name) override;
    void recount_all_vehicles(const QString &date) override;
    LoadNotices *load_notices() override { return &load_notices_; }
    void find_order(const QString &date, const QString &seq);
    void show_vehicle_trips(const QString &vehicle_code);

    // LinkHost
    int selected_unit() const override;
    bool yusa_mode() const override;
    void show_unit_status(int unit, const QString &text, const QColor &background) override;
    void show_received(const QString &text) override;
    void show_link_state(bool on) override;
    void sweep_send_indicator(int unit, const std::function<void()> &done) override;
    QDateTime now() const override;
    bool record_shipment(int unit, Prompter &messages, const QDateTime &reported_at) override;

    // Records the loads on a thread of its own, through the outage journal
    // (made on first use: the data module exists only after the console).
    RecordingThread &recording();
    LoadRecorder &load_recorder();
    // A statement found the database away and none reached it since: the
    // console's display refreshes wait for the recording thread to find it
    // back (asked here), instead of waiting out a statement's limit each.
    bool database_away() override;
    // Loads reported by a unit whose recording has not answered yet.
    int loads_being_written() const { return static_cast<int>(submitted_.size()); }

    OrderBoard *orders;
    VehicleBoard *vehicles;
    ReservationDesk *desk;
    PlantLink *link;
    ConsoleNavigation *navigation;

    // Controls named as on the console.
    QFrame *Panel1;
    QFrame *Panel5;
    QFrame *Panel6;
    QFrame *Panel7;
    QLineEdit *dam_edit;
    QLabel *display_lab1;
    QLabel *display_lab2;
    TwoStateSwitch *comm_switch;
    DateBox *ilja_combo;
    RunningClock *time_edit;
    QCheckBox *yusa_chk;
    QCheckBox *autosend_chk;
    QPushButton *moltal_btn;
    QPushButton *send_btn;
    QComboBox *prn_sel;
    QLineEdit *Edit1;
    QTabWidget *list_page;
    QWidget *car_tab;
    QWidget *cholha_tab;
    QPushButton *reprint_btn;
    // Loads waiting in the outage journal for the database (hidden when none).
    QLabel *journal_lab;

    QString enrol_name;
    QString enrol_product;

Q_SIGNALS:
    // The first working screen is up (after the login and the day's load).
    void ready();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    QFrame *build_toolbar();
    QFrame *build_centre();
    QFrame *build_right_panel();
    void build_status_bar();
    void wire_windows();
    void wire_lookups();
    void place_trip_list();

    void FormCreate();
    void FormShow();
    void FormActivate();
    void ilja_comboChange();
    void comm_switchClick();
    void reprint_btnClick();
    void open_hand_ticket(bool from_order);
    void show_waiting_loads(int loads);
    shipment_recording::Known known_of(const shipment_recording::Input &in) const;
    void load_done(const LoadRecorder::Result &result);
    void reload_boards();

    AppContext &ctx_;
    std::array<SerialLine *, 2> comm_lines_{};
    QString board_date_;
    bool shown_ = false;
    bool enrol_error_shown_ = false;
    RecordingThread *recording_ = nullptr;
    // Loads reported by a unit and not written yet, by their identity: the
    // ticket is printed when the recorder says what became of them.
    struct Submitted {
        int unit;
        shipment_recording::Input input;
    };
    QHash<QString, Submitted> submitted_;
    // Known from earlier recordings, for tickets printed during an outage.
    QHash<QString, QString> ks_marks_;
    QString database_problem_;  // why the database cannot take loads now
    QThread *file_check_ = nullptr;
    void check_database_file();
    QHash<QString, QString> drivers_;
    LoadNotices load_notices_;
};
