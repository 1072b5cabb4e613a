#include "core/plantlink/load_recorder.h"
#include "core/framework/database.h"
#include "core/framework/guarded.h"
#include "core/framework/number_text.h"
#include "core/plantlink/link_log.h"

#include <QTimer>
#include <algorithm>

using shipment_recording::Input;
using shipment_recording::describe;

LoadRecorder::LoadRecorder(const Database &db, const QString &journal_path, QObject *parent)
    : QObject(parent), db_(db), journal_(journal_path, db_.identity()), retry_(new QTimer(this))
{
    retry_->setInterval(retry_interval_);
    connect(retry_, &QTimer::timeout, this, [this] { replay(); });
    QString error;
    if (!journal_.load(&error) || !error.isEmpty())
        QTimer::singleShot(0, this, [this, error] { tell(error); });
    if (!journal_.empty())
        retry_->start();
}

int LoadRecorder::waiting() const
{
    return static_cast<int>(journal_.size() + held_.size());
}

int LoadRecorder::retry_interval() const
{
    return retry_->interval();
}

void LoadRecorder::set_retry_interval(int ms)
{
    retry_interval_ = ms;
    retry_->setInterval(ms);
}

void LoadRecorder::tell(const QString &text)
{
    qCWarning(lc_recording).noquote() << text;
    if (say)
        say(text);
}

void LoadRecorder::after_change(int before)
{
    if (waiting() == 0)
        retry_->stop();
    else if (!retry_->isActive())
        retry_->start();
    if (waiting() != before)
        Q_EMIT waiting_changed(waiting());
}

namespace {
// What became of one try to write a load.
struct Attempt {
    enum Kind { Written, Later, Refused } kind = Written;
    // Written: the load as the database took it; empty when its identity
    // was there already.
    std::optional<shipment_recording::Recorded> recorded;
    QString reason;           // Refused: the database's or the rule's words
    bool order_gone = false;  // Refused because the order is not there
};

Attempt attempt(const Database &db, const Input &in, const shipment_recording::VehicleLookup &lookup_vehicle = {})
{
    Attempt a;
    try {
        a.recorded = shipment_recording::record_once(db, in, lookup_vehicle);
        return a;
    } catch (const shipment_recording::OrderGone &e) {
        a.order_gone = true;
        a.reason = e.message();
    } catch (const DbError &e) {
        if (e.retry_later()) {
            qCWarning(lc_recording).noquote() << "load kept waiting:" << describe(in) << "-" << e.message();
            a.kind = Attempt::Later;
            return a;
        }
        a.reason = e.message();
    } catch (const ActionError &e) {
        a.reason = e.message();
    }
    a.kind = Attempt::Refused;
    return a;
}

// A refused load as the operator is told of it.
QString refusal_text(const Input &in, const Attempt &a)
{
    return a.order_gone ? a.reason : QStringLiteral("출하가 기록되지 않았습니다: %1\n%2").arg(describe(in), a.reason);
}

const QString enter_by_hand = QStringLiteral("\n출하 내역 수정에서 입력하십시오.");
}

LoadRecorder::Outcome LoadRecorder::record(const Input &given, const shipment_recording::VehicleLookup &lookup_vehicle)
{
    shipment_recording::quantities(given);  // a quantity that is not a number is no load
    const int before = waiting();
    Outcome out;
    const OutageJournal::Entry entry = journal_.make_entry(given);
    const Input &in = entry.load;  // with its identity
    out.load_id = entry.id;
    QString error;
    if (!journal_.append(entry, &error)) {
        // No journal: the database is the only place left, and what it
        // cannot take now stays in memory until one of the two takes it.
        tell(error);
        if (held_.isEmpty()) {
            const Attempt a = attempt(db_, in, lookup_vehicle);
            if (a.kind == Attempt::Written) {
                out.recorded = a.recorded;
                return out;
            }
            if (a.kind == Attempt::Refused) {
                tell(refusal_text(in, a) + enter_by_hand);
                out.refused = true;
                return out;
            }
        }
        held_ << entry;
        count_waiting_before(entry, out);
        after_change(before);
        return out;
    }
    qCInfo(lc_recording).noquote() << "load journalled:" << entry.id << describe(in);
    // The loads before it go first, so trips are numbered in the order
    // the trucks were loaded.
    if (journal_.size() > 1)
        replay_before(entry.id);
    if (journal_.size() == 1 && journal_.entries().first().id == entry.id) {
        const Attempt a = attempt(db_, in, lookup_vehicle);
        if (a.kind == Attempt::Refused) {
            // Kept aside to be entered by hand, never dropped.
            set_aside(entry.id, refusal_text(in, a));
            out.refused = true;
            after_change(before);
            return out;
        }
        if (a.kind == Attempt::Written) {
            out.recorded = a.recorded;
            qCInfo(lc_recording).noquote() << "load written:" << entry.id;
            if (!journal_.remove(entry.id, &error))
                tell(error);
        }
    }
    if (!out.recorded)
        count_waiting_before(entry, out);
    after_change(before);
    return out;
}

void LoadRecorder::count_waiting_before(const OutageJournal::Entry &entry, Outcome &out) const
{
    for (const QList<OutageJournal::Entry> *list : {&held_, &journal_.entries()}) {
        for (const OutageJournal::Entry &e : *list) {
            if (e.id != entry.id && e.load.board_date == entry.load.board_date
                && e.load.order_no == entry.load.order_no) {
                ++out.waiting_loads;
                const auto [load, mortar] = shipment_recording::quantities(e.load);
                out.waiting_sum += load + mortar;
            }
        }
    }
}

void LoadRecorder::note_changed_ticket(const OutageJournal::Entry &e, const shipment_recording::Recorded &written)
{
    if (!e.provisional)
        return;
    const OutageJournal::Entry::Ticket &printed = *e.provisional;
    if (printed.trip_no == written.trip_no && number_2n(printed.cumulative) == number_2n(written.cumulative))
        return;
    changed_tickets_ << QStringLiteral("%1 %2 순번 %3, 차번 %4: %5회 → %6회, 누계 %7 → %8")
                            .arg(e.load.board_date, written.time, e.load.order_no, e.load.vehicle_no)
                            .arg(printed.trip_no).arg(written.trip_no)
                            .arg(number_2n(printed.cumulative), number_2n(written.cumulative));
}

// Loads held in memory go to the database first (they were weighed before
// the journal took anything again), else into the journal.
int LoadRecorder::write_held()
{
    int written = 0;
    while (!held_.isEmpty()) {
        const OutageJournal::Entry e = held_.first();
        const Attempt a = attempt(db_, e.load);
        if (a.kind == Attempt::Later) {
            database_away_ = true;
            break;
        }
        held_.removeFirst();
        if (a.kind == Attempt::Refused)
            tell(refusal_text(e.load, a) + enter_by_hand);
        else if (a.recorded) {
            ++written;
            note_changed_ticket(e, *a.recorded);
        }
    }
    QString error;
    while (!held_.isEmpty() && journal_.append(held_.first(), &error))
        held_.removeFirst();
    return written;
}

void LoadRecorder::set_aside(const QString &id, const QString &reason)
{
    QString error = reason;
    QString why;
    if (!journal_.set_aside(id, &why))
        error += QLatin1Char('\n') + why;
    tell(QStringLiteral("%1\n이 출하는 %2.rejected에 남겼습니다. 출하 내역 수정에서 입력하십시오.")
             .arg(error, journal_.path()));
}

void LoadRecorder::mark_provisional(const QString &load_id, int trip_no, double cumulative)
{
    const OutageJournal::Entry::Ticket ticket{trip_no, cumulative};
    for (OutageJournal::Entry &e : held_)
        if (e.id == load_id)
            e.provisional = ticket;
    QString error;
    if (!journal_.mark_provisional(load_id, ticket, &error))
        tell(error);
}

int LoadRecorder::replay()
{
    return replay_before(QString());
}

int LoadRecorder::replay_before(const QString &stop_id)
{
    const int before = waiting();
    database_away_ = false;
    int written = write_held();
    const QList<OutageJournal::Entry> waiting = journal_.entries();
    for (const OutageJournal::Entry &e : waiting) {
        if (e.id == stop_id)
            break;
        const Attempt a = attempt(db_, e.load);
        if (a.kind == Attempt::Later) {
            database_away_ = true;
            break;
        }
        if (a.kind == Attempt::Refused) {
            // Refused for good: set aside, not retried for ever in front of the others.
            set_aside(e.id, QStringLiteral("출하 대기 파일의 출하를 기록하지 못했습니다 (%1).\n%2")
                                .arg(describe(e.load), a.reason));
            continue;
        }
        if (a.recorded) {
            ++written;
            note_changed_ticket(e, *a.recorded);
        }
        QString error;
        if (!journal_.remove(e.id, &error))
            tell(error);
    }
    if (!changed_tickets_.isEmpty()) {
        tell(QStringLiteral("출하 대기 중에 인쇄한 송장의 회차나 누계가 기록된 출하와 다릅니다. "
                            "출하내역에서 다시 인쇄하십시오.\n")
             + changed_tickets_.join(QLatin1Char('\n')));
        changed_tickets_.clear();
    }
    // While the database stays away the tries grow further apart, up to a
    // minute; once it takes a load they are back to every few seconds.
    retry_->setInterval(database_away_ ? std::min(retry_->interval() * 2, max_retry_interval) : retry_interval_);
    after_change(before);
    if (written > 0) {
        qCInfo(lc_recording).noquote() << "loads written from the journal:" << written << "- waiting:" << this->waiting();
        Q_EMIT replayed(written);
    }
    return written;
}
