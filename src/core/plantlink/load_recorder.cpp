#include "core/plantlink/load_recorder.h"
#include "core/framework/database.h"
#include "core/framework/guarded.h"
#include "core/framework/number_text.h"
#include "core/plantlink/link_log.h"

#include <QMutexLocker>
#include <QTimer>
#include <algorithm>

using shipment_recording::Input;
using shipment_recording::describe;

namespace {
const QString enter_by_hand = QStringLiteral("\n출하 내역 수정에서 입력하십시오.");
constexpr int written_kept = 64;

// The line that says a provisional ticket differs from its load as written.
std::optional<QString> changed_ticket(const OutageJournal::Entry &e, const shipment_recording::Recorded &written)
{
    if (!e.provisional)
        return std::nullopt;
    const OutageJournal::Entry::Ticket &printed = *e.provisional;
    if (printed.trip_no == written.trip_no && number_2n(printed.cumulative) == number_2n(written.cumulative))
        return std::nullopt;
    return QStringLiteral("%1 %2 순번 %3, 차번 %4: %5회 → %6회, 누계 %7 → %8")
        .arg(e.load.board_date, written.time, e.load.order_no, e.load.vehicle_no)
        .arg(printed.trip_no).arg(written.trip_no)
        .arg(number_2n(printed.cumulative), number_2n(written.cumulative));
}

const QString reprint_text = QStringLiteral("출하 대기 중에 인쇄한 송장의 회차나 누계가 기록된 출하와 다릅니다. "
                                            "출하내역에서 다시 인쇄하십시오.\n");
const QString moved_text = QStringLiteral("먼저 계량되었으나 늦게 기록된 출하가 있어 다음 송장의 회차와 누계가 바뀌었습니다. "
                                          "출하내역에서 다시 인쇄하십시오.\n");
}

// What became of one try to write a load.
struct LoadRecorder::Try {
    Result::Kind kind = Result::Written;
    // Written: the load as the database took it; empty when its identity
    // was there already.
    std::optional<shipment_recording::Recorded> recorded;
    QString reason;           // Refused: the database's or the rule's words
    bool order_gone = false;  // Refused because the order is not there

    // A refused load as the operator is told of it.
    QString refusal(const Input &in) const
    {
        return order_gone ? reason : QStringLiteral("출하가 기록되지 않았습니다: %1\n%2").arg(describe(in), reason);
    }
};

LoadRecorder::LoadRecorder(const Database &db, const QString &journal_path, QObject *parent)
    : QObject(parent), db_(db), journal_(journal_path, db_.identity()), retry_(new QTimer(this))
{
    qRegisterMetaType<LoadRecorder::Result>();
    retry_->setInterval(retry_interval_);
    connect(retry_, &QTimer::timeout, this, [this] { write_waiting(); });
    QString error;
    if (!journal_.load(&error) || !error.isEmpty())
        QTimer::singleShot(0, this, [this, error] { tell(error); });
    if (!journal_.empty())
        retry_->start();
}

int LoadRecorder::waiting() const
{
    const QMutexLocker lock(&mutex_);
    return static_cast<int>(journal_.size() + held_.size());
}

int LoadRecorder::held_in_memory() const
{
    const QMutexLocker lock(&mutex_);
    return static_cast<int>(held_.size());
}

void LoadRecorder::set_retry_interval(int ms)
{
    retry_interval_ = ms;
    current_interval_ = ms;
    retry_->setInterval(ms);
}

void LoadRecorder::tell(const QString &text)
{
    qCWarning(lc_recording).noquote() << text;
    Q_EMIT said(text);
}

void LoadRecorder::after_change(int before)
{
    if (waiting() == 0 && !Database::seems_away())
        retry_->stop();
    else if (!retry_->isActive())
        retry_->start();
    if (waiting() != before)
        Q_EMIT waiting_changed(waiting());
}

QString LoadRecorder::journal_load(const Input &given)
{
    shipment_recording::quantities(given);  // a quantity that is not a number is no load
    QString error;
    QString id;
    {
        const QMutexLocker lock(&mutex_);
        const OutageJournal::Entry entry = journal_.make_entry(given);
        id = entry.id;
        // Loads held in memory were weighed first: they go in before it.
        while (!held_.isEmpty() && journal_.append(held_.first(), &error))
            held_.removeFirst();
        if (!held_.isEmpty() || !journal_.append(entry, &error))
            held_ << entry;  // kept till the journal or the database takes it
    }
    if (!error.isEmpty())
        tell(error);
    qCInfo(lc_recording).noquote() << "load journalled:" << id << describe(given);
    Q_EMIT waiting_changed(waiting());
    return id;
}

std::pair<int, double> LoadRecorder::waiting_before(const QString &load_id) const
{
    const QMutexLocker lock(&mutex_);
    // Waiting order: the journal's loads, then those held in memory (the
    // journal takes the held ones before any new load).  Loads journalled
    // after this one while it was being tried do not count.
    QList<OutageJournal::Entry> waiting = journal_.entries();
    waiting << held_;
    std::pair<int, double> before{0, 0.0};
    const auto self = std::find_if(waiting.cbegin(), waiting.cend(),
                                   [&](const OutageJournal::Entry &e) { return e.id == load_id; });
    if (self == waiting.cend())
        return before;
    for (auto e = waiting.cbegin(); e != self; ++e) {
        if (e->load.board_date == self->load.board_date && e->load.order_no == self->load.order_no) {
            ++before.first;
            const auto [load, mortar] = shipment_recording::quantities(e->load);
            before.second += load + mortar;
        }
    }
    return before;
}

LoadRecorder::Try LoadRecorder::write_one(const OutageJournal::Entry &e, const shipment_recording::VehicleLookup &lookup_vehicle)
{
    Try t;
    try {
        t.recorded = shipment_recording::record_once(db_, e.load, lookup_vehicle);
        return t;
    } catch (const shipment_recording::OrderGone &err) {
        t.order_gone = true;
        t.reason = err.message();
    } catch (const DbError &err) {
        if (err.retry_later()) {
            qCWarning(lc_recording).noquote() << "load kept waiting:" << describe(e.load) << "-" << err.message();
            t.kind = Result::Waiting;
            return t;
        }
        t.reason = err.message();
    } catch (const ActionError &err) {
        t.reason = err.message();
    }
    t.kind = Result::Refused;
    return t;
}

void LoadRecorder::note_changed_ticket(const OutageJournal::Entry &e, const shipment_recording::Recorded &written)
{
    if (const std::optional<QString> line = changed_ticket(e, written))
        changed_tickets_ << *line;
}

int LoadRecorder::write_waiting(const QString &fresh, const shipment_recording::VehicleLookup &lookup_vehicle)
{
    const int before = waiting();
    bool away = false;
    bool fresh_told = fresh.isEmpty();
    int written = 0;
    const auto done = [&](const OutageJournal::Entry &e, const Try &t) {
        if (t.kind == Result::Written)
            qCInfo(lc_recording).noquote() << "load written:" << e.id;
        if (e.id == fresh)
            fresh_told = true;
        else if (t.kind == Result::Written && t.recorded)
            ++written;
        Q_EMIT load_done(Result{t.kind, e.id, t.recorded});
    };
    const auto keep_written = [&](const OutageJournal::Entry &e, const shipment_recording::Recorded &r) {
        if (written_.size() >= written_kept)
            written_.clear();
        written_.insert(e.id, {e, r});
        note_changed_ticket(e, r);
        moved_tickets_ << r.moved;
    };

    // Loads held in memory go to the database first: they were weighed
    // before the journal took anything again.
    for (;;) {
        OutageJournal::Entry e;
        {
            const QMutexLocker lock(&mutex_);
            if (held_.isEmpty())
                break;
            e = held_.first();
        }
        const Try t = write_one(e, e.id == fresh ? lookup_vehicle : shipment_recording::VehicleLookup());
        if (t.kind == Result::Waiting) {
            away = true;
            break;
        }
        {
            const QMutexLocker lock(&mutex_);
            // Only this thread takes loads out: the first is still this one.
            const OutageJournal::Entry now = held_.takeFirst();
            if (t.recorded)
                keep_written(now, *t.recorded);
        }
        if (t.kind == Result::Refused)
            tell(t.refusal(e.load) + enter_by_hand);
        done(e, t);
    }
    {
        // What is still held goes into the journal when it takes it again.
        QString error;
        const QMutexLocker lock(&mutex_);
        while (!held_.isEmpty() && journal_.append(held_.first(), &error))
            held_.removeFirst();
    }

    QList<OutageJournal::Entry> journalled;
    {
        const QMutexLocker lock(&mutex_);
        journalled = journal_.entries();
    }
    if (!away && journalled.isEmpty() && fresh.isEmpty() && Database::seems_away()) {
        // Nothing waits, but a statement found the database away: whether
        // it is back, so that the console refreshes its boards again.
        try {
            db_.scalar(QStringLiteral("select 1"));
            Q_EMIT database_back();
        } catch (const DbError &) {
            away = true;
        }
    }
    for (const OutageJournal::Entry &e : std::as_const(journalled)) {
        if (away)
            break;
        const Try t = write_one(e, e.id == fresh ? lookup_vehicle : shipment_recording::VehicleLookup());
        if (t.kind == Result::Waiting) {
            away = true;
            break;
        }
        QString error;
        if (t.kind == Result::Refused) {
            // Refused for good: set aside to be entered by hand, never
            // dropped, and not retried for ever in front of the others.
            QString text = e.id == fresh ? t.refusal(e.load)
                                         : QStringLiteral("출하 대기 파일의 출하를 기록하지 못했습니다 (%1).\n%2")
                                               .arg(describe(e.load), t.reason);
            bool moved;
            {
                const QMutexLocker lock(&mutex_);
                moved = journal_.set_aside(e.id, &error);
            }
            if (!moved)
                text += QLatin1Char('\n') + error;
            tell(QStringLiteral("%1\n이 출하는 %2.rejected에 남겼습니다. 출하 내역 수정에서 입력하십시오.")
                     .arg(text, journal_.path()));
        } else {
            bool removed;
            {
                const QMutexLocker lock(&mutex_);
                // The entry as it is now: a provisional ticket may have been
                // marked on it while it was being written.
                OutageJournal::Entry now = e;
                for (const OutageJournal::Entry &j : journal_.entries())
                    if (j.id == e.id)
                        now = j;
                if (t.recorded)
                    keep_written(now, *t.recorded);
                removed = journal_.remove(e.id, &error);
            }
            if (!removed)
                tell(error);
        }
        done(e, t);
    }
    if (!fresh_told)
        Q_EMIT load_done(Result{Result::Waiting, fresh, std::nullopt});

    // The tickets to print again, in one message.
    QStringList reprint;
    if (!changed_tickets_.isEmpty())
        reprint << reprint_text + changed_tickets_.join(QLatin1Char('\n'));
    if (!moved_tickets_.isEmpty())
        reprint << moved_text + moved_tickets_.join(QLatin1Char('\n'));
    changed_tickets_.clear();
    moved_tickets_.clear();
    if (!reprint.isEmpty())
        tell(reprint.join(QStringLiteral("\n\n")));
    // While the database stays away the tries grow further apart, up to a
    // minute; once it takes a load they are back to every few seconds.  A
    // load just weighed is no retry.
    if (!away)
        retry_->setInterval(retry_interval_);
    else if (fresh.isEmpty())
        retry_->setInterval(std::min(retry_->interval() * 2, max_retry_interval));
    current_interval_ = retry_->interval();
    after_change(before);
    if (written > 0) {
        qCInfo(lc_recording).noquote() << "loads written from the journal:" << written << "- waiting:" << waiting();
        Q_EMIT replayed(written);
    }
    return written;
}

LoadRecorder::Outcome LoadRecorder::record(const Input &given, const shipment_recording::VehicleLookup &lookup_vehicle)
{
    Outcome out;
    out.load_id = journal_load(given);
    const QMetaObject::Connection seen = connect(this, &LoadRecorder::load_done, this, [&out](const Result &r) {
        if (r.load_id != out.load_id)
            return;
        out.recorded = r.kind == Result::Written ? r.recorded : std::nullopt;
        out.refused = r.kind == Result::Refused;
    });
    write_waiting(out.load_id, lookup_vehicle);
    disconnect(seen);
    if (!out.recorded && !out.refused)
        std::tie(out.waiting_loads, out.waiting_sum) = waiting_before(out.load_id);
    return out;
}

void LoadRecorder::mark_provisional(const QString &load_id, int trip_no, double cumulative)
{
    const OutageJournal::Entry::Ticket ticket{trip_no, cumulative};
    QString error;
    std::optional<QString> changed;
    {
        const QMutexLocker lock(&mutex_);
        for (OutageJournal::Entry &e : held_)
            if (e.id == load_id)
                e.provisional = ticket;
        journal_.mark_provisional(load_id, ticket, &error);
        // Written already, while the ticket was printing.
        if (const auto w = written_.constFind(load_id); w != written_.cend()) {
            OutageJournal::Entry e = w->first;
            e.provisional = ticket;
            changed = changed_ticket(e, w->second);
        }
    }
    if (!error.isEmpty())
        tell(error);
    if (changed)
        tell(reprint_text + *changed);
}
