#pragma once
#include <QByteArray>
#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include "app/plant_settings.h"

#include <array>
#include <functional>

class Prompter;
class ReservationSlots;
class SerialLine;

// What the link needs from the console around it.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    virtual int selected_unit() const = 0;
    virtual bool yusa_mode() const = 0;
    // The unit's status label.
    virtual void show_unit_status(int unit, const QString &text, const QColor &background) = 0;
    // The last text received from unit 1 (the small box on the tool bar).
    virtual void show_received(const QString &text) = 0;
    // The link switch's own look and the controls that follow it.
    virtual void show_link_state(bool on) = 0;
    // The send indicator's sweep; `done` runs when it has finished.
    virtual void sweep_send_indicator(int unit, const std::function<void()> &done) = 0;
    // The first weighing report of the load in the unit's slot 1.
    virtual void record_shipment(int unit) = 0;
};

// The controller protocol of both batch units: opening and closing the
// lines, the frames sent, the status letters received.
class PlantLink : public QObject {
    Q_OBJECT
public:
    struct Unit {
        QString last_status;
        int batch_count = 0;
        QByteArray last_frame;
    };

    // `settings` gives the plant settings as they are when the link is
    // switched on (a settings dialog may have changed the ports).
    PlantLink(ReservationSlots &reservations, SerialLine &line1, SerialLine &line2,
              std::function<PlantSettings()> settings, Prompter &prompter, LinkHost &host,
              QWidget *dialog_parent, QObject *parent = nullptr);

    bool is_on() const { return on_; }
    // The link switch has been switched: open or close both lines.
    void switch_on();
    void switch_off();

    // Builds the unit's frame and sends it, unless the unit is weighing or
    // the frame is the one sent last.
    void send_frame(int unit);

    const Unit &unit(int u) const { return units_.at(u - 1); }
    // A frame is going out (its indicator sweeping): reports wait till after.
    bool sending() const { return sweeping_; }
    SerialLine &line(int u) const { return *lines_.at(u - 1); }

    // The message of a line error event of a unit.
    static QString line_error_text(int unit, int event);

private:
    struct Pending {
        int unit;
        bool is_error;
        QByteArray bytes;
        int event;
    };
    void on_received(int unit, const QByteArray &bytes);
    void on_line_error(int unit, int event);
    void handle(const Pending &p);
    void apply_status(int unit);
    QByteArray build_frame(int unit);
    void sweep_finished();
    void show_once(const QString &text, bool is_error);

    ReservationSlots &slots_;
    std::array<SerialLine *, 2> lines_;
    std::function<PlantSettings()> settings_;
    Prompter &prompter_;
    LinkHost &host_;
    QWidget *dialog_parent_;
    std::array<Unit, 2> units_;
    bool on_ = false;
    bool sweeping_ = false;
    bool message_open_ = false;
    QList<Pending> pending_;
};
