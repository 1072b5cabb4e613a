#include "core/plantlink/load_recorder.h"
#include "core/framework/database.h"
#include "core/framework/guarded.h"

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

LoadRecorder::Outcome LoadRecorder::record(const Input &given, const shipment_recording::VehicleLookup &lookup_vehicle)
{
    shipment_recording::quantities(given);  // a quantity that is not a number is no load
    const int before = waiting();
    Outcome out;
    const OutageJournal::Entry entry = journal_.make_entry(given);
    const Input &in = entry.load;  // with its identity
    QString error;
    if (!journal_.append(entry, &error)) {
        // No journal: the database is the only place left, and what it
        // cannot take now stays in memory until one of the two takes it.
        tell(error);
        if (held_.isEmpty()) {
            try {
                out.recorded = shipment_recording::record(db_, in, lookup_vehicle);
                return out;
            } catch (const shipment_recording::OrderGone &e) {
                tell(e.message() + QStringLiteral("\n출하 내역 수정에서 입력하십시오."));
                out.refused = true;
                return out;
            } catch (const DbError &e) {
                if (!e.retry_later()) {
                    tell(QStringLiteral("출하가 기록되지 않았습니다: %1\n%2\n출하 내역 수정에서 입력하십시오.")
                             .arg(describe(in), e.message()));
                    out.refused = true;
                    return out;
                }
            }
        }
        held_ << entry;
        count_waiting_before(entry, out);
        after_change(before);
        return out;
    }
    // The loads before it go first, so trips are numbered in the order
    // the trucks were loaded.
    if (journal_.size() > 1)
        replay_before(entry.id);
    if (journal_.size() == 1 && journal_.entries().first().id == entry.id) {
        bool written = false;
        try {
            out.recorded = shipment_recording::record(db_, in, lookup_vehicle);
            written = true;
        } catch (const shipment_recording::OrderGone &e) {
            set_aside(entry.id, e.message());
            out.refused = true;
            after_change(before);
            return out;
        } catch (const DbError &e) {
            // Refused for good: kept aside to be entered by hand, never dropped.
            if (!e.retry_later()) {
                set_aside(entry.id, QStringLiteral("출하가 기록되지 않았습니다: %1\n%2").arg(describe(in), e.message()));
                out.refused = true;
                after_change(before);
                return out;
            }
        }
        if (written && !journal_.remove(entry.id, &error))
            tell(error);
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

// Loads held in memory go to the database first (they were weighed before
// the journal took anything again), else into the journal.
int LoadRecorder::write_held()
{
    int written = 0;
    while (!held_.isEmpty()) {
        const OutageJournal::Entry e = held_.first();
        try {
            if (shipment_recording::record_once(db_, e.load))
                ++written;
            held_.removeFirst();
            continue;
        } catch (const DbError &x) {
            database_away_ = x.retry_later();
            if (!x.retry_later()) {
                held_.removeFirst();
                tell(QStringLiteral("출하가 기록되지 않았습니다: %1\n%2\n출하 내역 수정에서 입력하십시오.")
                         .arg(describe(e.load), x.message()));
                continue;
            }
        } catch (const ActionError &x) {
            held_.removeFirst();
            tell(x.message() + QStringLiteral("\n출하 내역 수정에서 입력하십시오."));
            continue;
        }
        break;
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
        QString error;
        try {
            if (shipment_recording::record_once(db_, e.load))
                ++written;
            if (!journal_.remove(e.id, &error))
                tell(error);
            continue;
        } catch (const DbError &x) {
            if (x.retry_later()) {
                database_away_ = true;
                break;
            }
            error = x.message();
        } catch (const ActionError &x) {
            error = x.message();
        }
        // Refused for good: set aside, not retried for ever in front of the others.
        set_aside(e.id, QStringLiteral("출하 대기 파일의 출하를 기록하지 못했습니다 (%1).\n%2")
                            .arg(describe(e.load), error));
    }
    // While the database stays away the tries grow further apart, up to a
    // minute; once it takes a load they are back to every few seconds.
    retry_->setInterval(database_away_ ? std::min(retry_->interval() * 2, max_retry_interval) : retry_interval_);
    after_change(before);
    if (written > 0)
        Q_EMIT replayed(written);
    return written;
}
