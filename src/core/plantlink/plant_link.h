#pragma once
#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include "core/data/plant_settings.h"
#include "core/framework/prompter.h"

#include <array>
#include <functional>

class QTimer;
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
    // The time now, by the console's clock: when a report was read.
    virtual QDateTime now() const = 0;
    // The first weighing report of the load in the unit's slot 1, read at
    // `reported_at` (the load's time, however late it is handled).  True
    // when the load is recorded or kept in the outage journal; failures are
    // told through `messages`, which shows them after the report.
    virtual bool record_shipment(int unit, Prompter &messages, const QDateTime &reported_at) = 0;
};

// The controller protocol of both batch units: opening and closing the
// lines, the frames sent, the status letters received.
//
// A read may hold several letters (and CR, LF, noise): every letter is
// applied in order as if it had come alone, other bytes are skipped.  A
// read is handled completely before any message box is shown, since a box
// runs a nested event loop in which the next read would be handled.
class PlantLink : public QObject {
    Q_OBJECT
public:
    struct Unit {
        QString last_status;  // the last letter applied
        int batch_count = 0;
        QByteArray last_frame;
        bool recorded = false;   // the load now in slot 1 has been recorded
        bool line_down = false;  // the port vanished: retried until it is back
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

    // Builds the unit's frame and sends it, unless the unit is weighing,
    // its line is down, or the frame is the one sent last.
    void send_frame(int unit);

    const Unit &unit(int u) const { return units_.at(u - 1); }
    // A frame is going out (its indicator sweeping): reports wait till after.
    bool sending() const { return sweeping_; }
    SerialLine &line(int u) const { return *lines_.at(u - 1); }

    // How often a vanished port is tried again (milliseconds).
    void set_reopen_interval(int ms);

    // Messages of the link: held while a report is being handled, then
    // shown one at a time (the same text is not stacked on itself).
    Prompter &messages() { return messages_; }

    // The message of a line error event of a unit.
    static QString line_error_text(int unit, int event);
    // The label text of a unit whose line is down.
    static QString line_down_text() { return QStringLiteral("통신 끊김"); }
    static QString receive_error_text() { return QStringLiteral("데이타 수신오류"); }

private:
    struct Pending {
        enum Kind { Letter, Notice, LineError } kind;
        int unit;
        char letter;
        int event;
        QDateTime read_at = {};  // when the read that brought it came
    };
    struct Message {
        QString text;
        bool is_error;
        bool urgent;  // shown even over another open message
    };
    class HeldMessages : public Prompter {
    public:
        explicit HeldMessages(PlantLink &link) : link_(link) {}
        void information(QWidget *, const QString &text) override { link_.say(text, false); }
        void error(QWidget *, const QString &text) override { link_.say(text, true); }
        bool question(QWidget *parent, const QString &text) override { return link_.prompter_.question(parent, text); }

    private:
        PlantLink &link_;
    };

    void on_received(int unit, const QByteArray &bytes);
    void on_line_error(int unit, int event);
    void pump();
    void handle(const Pending &p);
    void apply_status(int unit, char letter, const QDateTime &read_at);
    void send(int unit);
    QByteArray build_frame(int unit);
    void sweep_finished();
    void say(const QString &text, bool is_error, bool urgent = false);
    void show_messages();
    bool busy() const { return pumping_ || sweeping_ || !queue_.isEmpty(); }
    void port_lost(int unit);
    void reopen_lost_ports();
    void show_status_label(int unit);

    ReservationSlots &slots_;
    std::array<SerialLine *, 2> lines_;
    std::function<PlantSettings()> settings_;
    Prompter &prompter_;
    LinkHost &host_;
    QWidget *dialog_parent_;
    std::array<Unit, 2> units_;
    bool on_ = false;
    bool sweeping_ = false;
    bool pumping_ = false;
    QStringList showing_;  // the texts of the messages open now
    QList<Pending> queue_;
    QList<Message> held_;
    HeldMessages messages_{*this};
    QTimer *reopen_timer_;
};
