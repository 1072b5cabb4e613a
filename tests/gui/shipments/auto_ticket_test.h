#pragma once
#include "fake_console.h"
#include "window_support.h"

#include <QSqlQuery>
#include <QStringList>

// A small plant for the auto ticket book: two customers with a site each
// (both numbered 001), one specification and three trucks, two of them in
// service.  The working day is the fake clock's, 2026-12-10.
struct AutoBookPlant : WindowPlant {
    FakeConsoleOps console;

    AutoBookPlant()
    {
        ctx.console = &console;
        dbm->settings.cement_text = QStringLiteral("보통시멘트");
        dbm->settings.gravel_text = QStringLiteral("쇄석");
        dbm->settings.admixture_text = QStringLiteral("AE제");
        dbm->settings.remark_text = QStringLiteral("0.5%");
        exec("insert into customer (saup, grcd, name, kawn_sa, vat, misu) values"
             " ('AA', 'A001', '한빛건설', 'S', 'V', 'H'), ('AA', 'A002', '대한건설', 'S', 'V', 'H')");
        exec("insert into r_hyunjang (saup, grcd, code, name, misu, man_code) values"
             " ('AA', 'A001', '001', '한빛 현장', 'H', '001'), ('AA', 'A002', '001', '대한 현장', 'H', '001')");
        exec("insert into r_size (remi_code, standard, rul_ks, gubun, kind) values"
             " ('0101', '25-240-15', 'KS', '2', '보통')");
        exec("insert into car_code (saup, code, scode, name, c_state) values"
             " ('AA', '80-1103-1', '1103', '박기사', 'YES'), ('AA', '80-1101-1', '1101', '김기사', 'YES'),"
             " ('AA', '80-1102-1', '1102', '이기사', 'NO')");
    }

    void add_order(const char *date, const char *seq, double m3 = 20, const char *first = "08:00",
                   const char *interval = "00", const char *spec = "25-240-15") const
    {
        exec("insert into yu_suju (ysu_ilja, ysu_seq, ysu_cu_name, ysu_hy_name, ysu_ru_name, ysu_order_m3,"
             " ysu_first_time, ysu_wait_time, ysu_cement, ysu_gravel, ysu_japum, ysu_hon)"
             " values (:d, :s, '한빛건설', '한빛 현장', :r, :m, :f, :w, '보통시멘트', '쇄석', 'AE제', '0.5%')",
             {{":d", date}, {":s", seq}, {":r", spec}, {":m", m3}, {":f", first}, {":w", interval}});
    }

    void add_load(const char *date, const char *order, const char *seq, const char *time = "08:00",
                  const char *car = "80-1101-1", double m3 = 6, double cumulative = 6) const
    {
        exec("insert into yu_cholha (ych_ilja, ych_su_seq, ych_seq, ych_time, ych_ca_number, ych_chol_m3, ych_nu_m3)"
             " values (:d, :o, :s, :t, :c, :m, :n)",
             {{":d", date}, {":o", order}, {":s", seq}, {":t", time}, {":c", car}, {":m", m3}, {":n", cumulative}});
    }

    // "date/order/seq time car m3" of every load, in key order.
    QStringList loads() const
    {
        QSqlQuery q = db().query("select * from yu_cholha order by ych_ilja, ych_su_seq, ych_seq");
        QStringList all;
        while (q.next())
            all << QStringLiteral("%1/%2/%3 %4 %5 %6")
                       .arg(q.value("ych_ilja").toString(), q.value("ych_su_seq").toString(),
                            q.value("ych_seq").toString(), q.value("ych_time").toString(),
                            q.value("ych_ca_number").toString())
                       .arg(q.value("ych_chol_m3").toDouble());
        return all;
    }
};
