#include "core/shipments/load_generator.h"
#include "core/framework/time_text.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTime>

#include <chrono>
#include <cmath>

namespace {
qint64 hundredths(double m3)
{
    return std::llround(m3 * 100);
}

const QString not_made = QStringLiteral(" (출하 자료를 만들지 않았습니다.)");
}

int interval_minutes(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*(\\d{1,2})\\s*$"));
    const auto m = whole.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

int loads_needed(double quantity)
{
    if (!std::isfinite(quantity))
        return load_rules::last_load_no + 1;
    const qint64 target = hundredths(quantity);
    double cumulative = 0;
    int n = 0;
    while (hundredths(cumulative) != target && n <= load_rules::last_load_no) {
        cumulative += quantity - cumulative >= load_rules::largest_load ? load_rules::largest_load
                                                                         : quantity - cumulative;
        ++n;
    }
    return n;
}

QString load_order_problem(const LoadOrder &order)
{
    if (!std::isfinite(order.quantity) || hundredths(order.quantity) <= 0)
        return QStringLiteral("수주량을 등록하시오.") + not_made;
    const int interval = interval_minutes(order.interval);
    if (interval < 0 || interval > load_rules::longest_interval)
        return QStringLiteral("간격 \"%1\"은(는) 쓸 수 없습니다. 간격은 0부터 %2까지의 분으로 입력하시오.")
                   .arg(order.interval.trimmed())
                   .arg(load_rules::longest_interval)
               + not_made;
    if (valid_time_text(order.first_time, TimeForm::HoursMinutes).isEmpty())
        return (order.first_time.trimmed().isEmpty()
                    ? QStringLiteral("첫차시간을 hh:mm으로 입력하시오.")
                    : QStringLiteral("첫차시간 \"%1\"은(는) 올바른 시간이 아닙니다.").arg(order.first_time.trimmed()))
               + not_made;
    if (loads_needed(order.quantity) > load_rules::last_load_no)
        return QStringLiteral("수주량 %1 m3는 %2대를 넘습니다. 한 유사 수주의 출하는 %2대까지입니다.")
                   .arg(order.quantity, 0, 'f', 2)
                   .arg(load_rules::last_load_no)
               + not_made;
    return QString();
}

LoadPlan generate_loads(const LoadOrder &order, const QStringList &trucks, QRandomGenerator &random)
{
    LoadPlan plan;
    plan.problem = load_order_problem(order);
    if (!plan.problem.isEmpty())
        return plan;
    const int interval = interval_minutes(order.interval);
    const qint64 target = hundredths(order.quantity);
    QTime time = QTime::fromString(valid_time_text(order.first_time, TimeForm::HoursMinutes),
                                   QStringLiteral("HH:mm"));
    double cumulative = 0;
    qsizetype truck = 0;
    while (hundredths(cumulative) != target) {
        const double rest = order.quantity - cumulative;
        const double load = rest >= load_rules::largest_load ? load_rules::largest_load : rest;
        cumulative += load;
        plan.loads.append({QStringLiteral("%1").arg(plan.loads.size() + 1, 3, 10, QLatin1Char('0')),
                           time.toString(QStringLiteral("HH:mm")), trucks.value(truck), load, cumulative});
        const int gap = load_rules::smallest_gap + (interval > 0 ? int(random.bounded(interval)) : 0);
        time = time.addSecs(gap * 60);  // wraps past midnight
        if (!trucks.isEmpty())
            truck = (truck + 1) % trucks.size();
    }
    return plan;
}

quint32 clock_seed()
{
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    return quint32(ticks) ^ quint32(quint64(ticks) >> 32);
}
