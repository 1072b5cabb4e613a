#include "core/data/demo_data.h"
#include "core/data/plant_settings.h"
#include "core/framework/database.h"
#include "core/framework/stored_text.h"

#include <QFileInfo>
#include <QStringList>

namespace demo {
namespace {

struct Customer {
    const char *grcd;
    const char *name;
    const char *kawn_sa;
    const char *vat;
    const char *misu;
    const char *rank;
    const char *julsa;
};

const Customer customers[] = {
    {"A001", "대한건설(주)", "S", "V", "H", "A", "10"},
    {"A002", "한빛종합건설", "S", "V", "H", "A", "0"},
    {"A003", "동양토건(주)", "T", "N", "G", "B", "100"},
    {"A004", "서해개발", "S", "V", "H", "C", "1"},
    {"A005", "삼정주택", "T", "V", "G", "B", "10"},
    {"A006", "O'Neil 건설", "S", "X", "H", "A", "0"},
    {"A007", "우리산업개발", "S", "V", "H", "F", "10"},
    {"A008", "태평양건설(주)", "T", "N", "H", "A", "100"},
    {"A009", "금강레미콘상사", "S", "V", "G", "B", "0"},
    {"A010", "미래이엔씨", "S", "V", "H", "A", "10"},
    {"B001", "청솔건설", "T", "V", "H", "B", "1"},
    {"B002", "한결주택건설", "S", "N", "H", "C", "10"},
    {"B003", "신성토목(주)", "S", "V", "G", "A", "100"},
    {"B004", "대성산업", "T", "X", "H", "B", "0"},
    {"B005", "동부종합건설", "S", "V", "H", "A", "10"},
    {"B006", "효성건업", "S", "V", "H", "F", "0"},
    {"B007", "성원개발(주)", "T", "N", "G", "A", "10"},
    {"B008", "남해건설", "S", "V", "H", "B", "1"},
    {"C001", "경기도 도로관리사업소", "K", "V", "H", "A", "10"},
    {"C002", "충청남도 건설본부", "K", "V", "H", "A", "100"},
    {"C003", "한국토지주택공사", "L", "V", "H", "A", "10"},
    {"C004", "화성시청 도로과", "K", "N", "H", "A", "0"},
    {"C005", "평택시 상하수도사업소", "K", "V", "G", "A", "10"},
    {"C006", "한국도로공사 수원지사", "L", "V", "H", "A", "100"},
    {"C007", "오산시청 건설과", "L", "X", "H", "A", "1"},
    {"C008", "국토관리청 수원국토사무소", "K", "V", "H", "A", "10"},
    {"D001", "홍길동(개인)", "S", "N", "H", "C", "0"},
    {"D002", "김철수 전원주택", "T", "N", "H", "B", "0"},
    {"D003", "50%현장 시공사", "S", "V", "H", "B", "10"},
    {"D004", "이영희 창고신축", "T", "X", "G", "C", "0"},
};

const char *sites[] = {
    "화성 동탄2 아파트 신축공사", "평택 고덕 물류센터", "오산 세교 초등학교 증축",
    "수원 영통 오피스텔", "안성 공도 공장 신축", "용인 기흥 주상복합",
    "화성 향남 제약단지", "평택항 부두 확장공사", "오산 궐동 근린생활시설",
    "수원 권선 도로 확포장", "화성 봉담 교량 보수", "평택 안중 하수처리장",
    "안성 미양 농수로 정비", "용인 처인 물류창고", "화성 남양 택지개발",
};

const char *staff[][2] = {{"001", "박영업"}, {"002", "최현수"}, {"003", "정민호"},
                          {"004", "강수진"}, {"005", "윤재석"}};

struct Spec {
    const char *code;
    const char *standard;
    const char *ks;
    const char *gubun;
    const char *kind;
    double kwan;
    double sa;
    const char *code1;
};

const Spec specs[] = {
    {"1001", "25-180-8", "KS", "0", "보통", 61000, 64000, "R181"},
    {"1002", "25-180-12", "KS", "0", "보통", 62000, 65000, "R182"},
    {"1003", "25-210-8", "KS", "2", "보통", 63500, 66500, "R211"},
    {"1004", "25-210-12", "KS", "2", "보통", 64500, 67500, "R212"},
    {"1005", "25-210-15", "KS", "0", "보통", 65000, 68000, "R213"},
    {"1006", "25-240-12", "KS", "2", "보통", 67000, 70000, "R241"},
    {"1007", "25-240-15", "KS", "0", "보통", 67500, 70500, "R242"},
    {"1008", "25-270-15", "KS", "0", "보통", 70000, 73500, "R271"},
    {"1009", "25-300-15", "KS", "0", "고강도", 73000, 77000, "R301"},
    {"1010", "20-240-12", "KS", "0", "보통", 68000, 71000, "R201"},
    {"1011", "40-180-8", "비KS", "0", "포장", 60000, 62500, "R401"},
    {"1012", "25-180-5", "비KS", "0", "무근", 58000, 61000, "R185"},
    {"1013", "25-350-18", "KS", "0", "고강도", 78000, 82000, "R351"},
    {"1014", "25-160-8", "비KS", "0", "버림", 55000, 58000, "R161"},
    {"1015", "25-210-18", "KS", "2", "유동화", 66000, 69500, "R218"},
    {"9001", "몰탈", "비KS", "0", "몰탈", 70000, 72000, "M001"},
};

const char *drivers[] = {"김기사", "이운전", "박상철", "최동진", "정민수", "강호석", "조영훈",
                         "윤태식", "장세훈", "임재호", "한승우", "오경환", "서민철", "신동욱",
                         "권오성", "황인호", "안재현", "송기철", "류성민", "전병수"};

const char *haulers[][2] = {{"01", "자사운송"}, {"02", "대한운수"}, {"03", "한길물류"}, {"04", "동진레미콘운송"}};

}

void fill(const Database &db, const QDate &today)
{
    const double existing = number_or_zero(db.scalar(QStringLiteral(
        "select (select count(*) from customer) + (select count(*) from r_suju)")));
    if (existing > 0)
        throw DbError(QStringLiteral("데모 자료는 빈 데이터베이스에만 넣을 수 있습니다."));

    const QString day = stored::date(today);
    Transaction tx(db);

    db.exec(QStringLiteral("insert into enrol (name, japum) values (:n, :j)"),
            {{":n", QStringLiteral("베달로레미콘(주) 대표 김대표")},
             {":j", QStringLiteral("레디믹스트 콘크리트")}});

    for (const auto &s : staff)
        db.exec(QStringLiteral("insert into youngup (code, man) values (:c, :m)"),
                {{":c", QString::fromUtf8(s[0])}, {":m", QString::fromUtf8(s[1])}});

    for (const auto &h : haulers)
        db.exec(QStringLiteral("insert into car_cust (code, name) values (:c, :n)"),
                {{":c", QString::fromUtf8(h[0])}, {":n", QString::fromUtf8(h[1])}});

    for (int km = 1; km <= 60; ++km)
        db.exec(QStringLiteral("insert into carry (code, dis_kum) values (:c, :k)"),
                {{":c", QString::number(km)}, {":k", 18000 + km * 900}});

    for (const Spec &s : specs)
        db.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks, ilja, gubun, kind,"
                               " kwan_danga, sa_danga, remi_code1) values"
                               " (:c, :s, :k, :i, :g, :kind, :kw, :sa, :c1)"),
                {{":c", QString::fromUtf8(s.code)}, {":s", QString::fromUtf8(s.standard)},
                 {":k", QString::fromUtf8(s.ks)}, {":i", stored::date(today.addYears(-3))},
                 {":g", QString::fromUtf8(s.gubun)}, {":kind", QString::fromUtf8(s.kind)},
                 {":kw", s.kwan}, {":sa", s.sa}, {":c1", QString::fromUtf8(s.code1)}});

    // Sites: one to three per customer, in turn from the list above.
    struct SiteRef {
        QString grcd, code, name, cust_name, kawn_sa;
    };
    QList<SiteRef> site_refs;
    int site_no = 0;
    int cust_no = 0;
    for (const Customer &c : customers) {
        const QString grcd = QString::fromUtf8(c.grcd);
        db.exec(QStringLiteral("insert into customer (saup, cust_set, cust_seq, grcd, name, kawn_sa,"
                               " vat, misu, rank, julsa) values"
                               " ('AA', :set, :seq, :g, :n, :k, :v, :m, :r, :j)"),
                {{":set", grcd.left(1)}, {":seq", grcd.mid(1).toInt()}, {":g", grcd},
                 {":n", QString::fromUtf8(c.name)}, {":k", QString::fromUtf8(c.kawn_sa)},
                 {":v", QString::fromUtf8(c.vat)}, {":m", QString::fromUtf8(c.misu)},
                 {":r", QString::fromUtf8(c.rank)}, {":j", QString::fromUtf8(c.julsa)}});
        const int count = 1 + (cust_no++ % 3);
        for (int i = 1; i <= count; ++i) {
            const auto &man = staff[site_no % 5];
            const QString code = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
            const QString name = QString::fromUtf8(sites[site_no % 15])
                                 + (site_no >= 15 ? QStringLiteral(" %1공구").arg(site_no / 15 + 1) : QString());
            db.exec(QStringLiteral("insert into r_hyunjang (saup, grcd, code, name, man_code, man_name,"
                                   " misu, grcd_name, grcode, kawn_sa, office_tel, ground_tel, memo,"
                                   " order_nul, build, gover, gover_num, ilja) values"
                                   " ('AA', :g, :c, :n, :mc, :mn, 'H', :gn, :gc, :k, :ot, :gt, '', :on,"
                                   " :b, :gv, :gvn, :i)"),
                    {{":g", grcd}, {":c", code}, {":n", name}, {":mc", QString::fromUtf8(man[0])},
                     {":mn", QString::fromUtf8(man[1])}, {":gn", QString::fromUtf8(c.name)},
                     {":gc", grcd + code}, {":k", QString::fromUtf8(c.kawn_sa)},
                     {":ot", QStringLiteral("031-%1-%2").arg(200 + site_no).arg(1000 + site_no * 37)},
                     {":gt", QStringLiteral("010-%1-%2").arg(3000 + site_no * 11).arg(5000 + site_no * 7)},
                     {":on", 87.5 + (site_no % 5)}, {":b", QString::fromUtf8(c.name)},
                     {":gv", QString::fromUtf8(c.kawn_sa)[0] == QLatin1Char('K') || QString::fromUtf8(c.kawn_sa)[0] == QLatin1Char('L') ? QString::fromUtf8(c.name) : QString()},
                     {":gvn", QStringLiteral("%1-%2").arg(today.year()).arg(site_no + 100)},
                     {":i", stored::date(today.addMonths(-(site_no % 12) - 1))}});
            site_refs << SiteRef{grcd, code, name, QString::fromUtf8(c.name), QString::fromUtf8(c.kawn_sa)};
            ++site_no;
        }
    }

    QStringList truck_codes, truck_numbers;
    for (int i = 0; i < 20; ++i) {
        const QString scode = QStringLiteral("%1").arg(1101 + i * 137 % 8800, 4, 10, QLatin1Char('0'));
        const QString code = QStringLiteral("%1-%2-%3").arg(80 + i % 10).arg(scode).arg(1 + i % 9);
        truck_codes << code;
        truck_numbers << scode;
        const char *company = i < 10 ? "자사" : (i < 16 ? "지입" : "타사");
        db.exec(QStringLiteral("insert into car_code (saup, code, scode, name, m3, wight, carco, company,"
                               " gubun, sudang, c_bool, c_otime, c_state, c_dsum, c_msum, c_station)"
                               " values ('AA', :c, :s, :n, :m3, :w, :co, :cp, :g, :su, 'Y', '00:00',"
                               " 'YES', 0, 0, '')"),
                {{":c", code}, {":s", scode}, {":n", QString::fromUtf8(drivers[i])},
                 {":m3", i % 5 == 4 ? 7.0 : 6.0}, {":w", 11800 + i * 35},
                 {":co", QString::fromUtf8(haulers[i % 4][0])}, {":cp", QString::fromUtf8(company)},
                 {":g", i < 10 ? QStringLiteral("A") : QStringLiteral("B")},
                 {":su", i % 3 == 0 ? QStringLiteral("1") : QStringLiteral("0")}});
    }

    // Contracts and ledger rows of the government customers' sites.
    const QString period_start = stored::date(QDate(today.year(), 1, 1));
    const QString period_end = stored::date(QDate(today.year() + 1, 1, 1));
    int contract_no = 0;
    for (const SiteRef &s : site_refs) {
        if (s.kawn_sa != QLatin1String("K") && s.kawn_sa != QLatin1String("L"))
            continue;
        const Spec &spec = specs[(contract_no % 4) == 0 ? 2 : ((contract_no % 4) == 1 ? 3 : ((contract_no % 4) == 2 ? 5 : 14))];
        const double amount = 800 + contract_no * 150;
        db.exec(QStringLiteral("insert into r_hyun_order (grcd, code, remi_code, kind, standard, demand1,"
                               " demand2, amount, cost, order_num, delivery, memo) values"
                               " (:g, :c, :r, :k, :s, :d1, :d2, :a, :cost, :o, :dl, :m)"),
                {{":g", s.grcd}, {":c", s.code}, {":r", QString::fromUtf8(spec.code)},
                 {":k", QString::fromUtf8(spec.kind)}, {":s", QString::fromUtf8(spec.standard)},
                 {":d1", period_start}, {":d2", period_end}, {":a", amount}, {":cost", spec.kwan},
                 {":o", QStringLiteral("조달-%1-%2").arg(today.year()).arg(4100 + contract_no)},
                 {":dl", stored::date(today.addMonths(3))}, {":m", QStringLiteral("연간단가계약")}});
        for (int m = 1; m < today.month() && m <= 6; ++m) {
            const double m3 = 40 + (contract_no * 13 + m * 7) % 60;
            const double kum = m3 * spec.kwan;
            db.exec(QStringLiteral("insert into r_mast (grcd, code, remi_code, remi_code1, standard, kind,"
                                   " ilja, m3, kum, vatkum, hap) values"
                                   " (:g, :c, :r, :r1, :s, :k, :i, :m3, :kum, :vat, :hap)"),
                    {{":g", s.grcd}, {":c", s.code}, {":r", QString::fromUtf8(spec.code)},
                     {":r1", QString::fromUtf8(spec.code1)}, {":s", QString::fromUtf8(spec.standard)},
                     {":k", QString::fromUtf8(spec.kind)},
                     {":i", stored::date(QDate(today.year(), m, 28))}, {":m3", m3}, {":kum", kum},
                     {":vat", kum / 10}, {":hap", kum * 1.1}});
        }
        ++contract_no;
    }

    // Today's orders, and the first loads of the earliest ones.
    const char *cements[] = {"보통포틀랜드", "고로슬래그", "보통포틀랜드", "조강"};
    const char *admixtures[] = {"AE감수제", "고성능감수제", "AE제", "유동화제"};
    for (int i = 0; i < 15; ++i) {
        const SiteRef &s = site_refs[(i * 7 + 3) % site_refs.size()];
        const Spec &spec = specs[(i * 5) % 15];
        const QString seq = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        const double order_m3 = 18 + (i * 23) % 120;
        const int loads = i < 5 ? 3 - i % 3 : 0;
        double shipped = 0;
        for (int t = 0; t < loads; ++t) {
            const int truck = (i * 3 + t) % 20;
            const double qty = 6.0;
            shipped += qty;
            db.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count,"
                                   " o_carnum, o_hogi, o_outorder, o_moltal, o_ccode, o_return) values"
                                   " (:d, :d, :t, :s, :c, :car, :h, :q, 0, :cc, '**')"),
                    {{":d", day},
                     {":t", QStringLiteral("%1:%2:%3").arg(7 + i / 3, 2, 10, QLatin1Char('0'))
                                .arg((t * 17 + i * 3) % 60, 2, 10, QLatin1Char('0'))
                                .arg((t * 29 + 11) % 60, 2, 10, QLatin1Char('0'))},
                     {":s", seq}, {":c", QStringLiteral("%1").arg(t + 1, 3, 10, QLatin1Char('0'))},
                     {":car", truck_codes[truck]}, {":h", QString::number(1 + t % 2)},
                     {":q", qty}, {":cc", truck_numbers[truck]}});
        }
        db.exec(QStringLiteral("insert into r_suju (ilja, seq, grcd, v_inout, code, v_station, time_, saup,"
                               " dist, v_okno, memo, ground, remi_code, v_rule, order_m3, danga, vat,"
                               " v_outorder, v_reorder, v_ccount, v_ftime, v_ltime, v_nocarin, v_cincout,"
                               " v_state, kind, cement, gravel, japum, con, v_hon, ondo, yeom, kong)"
                               " values (:i, :seq, :g, :n, :c, :st, :t, 'AA', :dist, '도선아님', :memo,"
                               " :ground, :rc, :rule, :m3, :danga, :vat, :out, :re, :cnt, '00:00',"
                               " '00:00', '0', '00:00', 'YES', :kind, :cem, '25mm 쇄석', :jap,"
                               " '레디믹스트', :hon, 12, '0.3 이하', '4.5±1.5')"),
                {{":i", day}, {":seq", seq}, {":g", s.grcd}, {":n", s.cust_name.left(30)},
                 {":c", s.code}, {":st", s.name.left(40)},
                 {":t", QStringLiteral("%1:%2").arg(7 + i / 2, 2, 10, QLatin1Char('0')).arg(i % 2 ? 30 : 0, 2, 10, QLatin1Char('0'))},
                 {":dist", 5 + (i * 7) % 40},
                 {":memo", QStringLiteral("010-%1-%2").arg(2100 + i * 37).arg(4400 + i * 91)},
                 {":ground", s.name.left(50)}, {":rc", QString::fromUtf8(spec.code)},
                 {":rule", QString::fromUtf8(spec.standard)}, {":m3", order_m3},
                 {":danga", s.kawn_sa == QLatin1String("K") || s.kawn_sa == QLatin1String("L") ? spec.kwan : spec.sa},
                 {":vat", QStringLiteral("V")}, {":out", shipped},
                 {":re", qMax(0.0, order_m3 - shipped)}, {":cnt", loads},
                 {":kind", QString::fromUtf8(spec.kind)}, {":cem", QString::fromUtf8(cements[i % 4])},
                 {":jap", QString::fromUtf8(admixtures[i % 4])},
                 {":hon", QStringLiteral("C×%1%").arg(0.8 + (i % 3) * 0.2, 0, 'f', 1)}});
        if (i % 4 == 1)
            db.exec(QStringLiteral("insert into cont_carry (ilja, seq, gubun, danga) values (:i, :s, :g, :d)"),
                    {{":i", day}, {":s", seq}, {":g", QStringLiteral("A")}, {":d", 21000 + i * 500}});
    }
    tx.commit();
}

bool write_default_settings(const QString &settings_path)
{
    if (QFileInfo::exists(settings_path))
        return false;
    PlantSettings s;
    s.comm1_port = QStringLiteral("1");
    s.comm1_speed = QStringLiteral("9600");
    s.comm2_port = QStringLiteral("2");
    s.comm2_speed = QStringLiteral("9600");
    s.mortar_code = QStringLiteral("9001");
    s.mortar_qty = QStringLiteral("0.5");
    s.cement_text = QStringLiteral("보통포틀랜드");
    s.gravel_text = QStringLiteral("25mm 쇄석");
    s.admixture_text = QStringLiteral("AE감수제");
    s.concrete_text = QStringLiteral("레디믹스트");
    s.person_in_charge = QStringLiteral("홍길동");
    s.chloride_text = QStringLiteral("0.3 이하");
    s.air_text = QStringLiteral("4.5±1.5");
    s.remark_text = QString();
    s.top_margin = QStringLiteral("2");
    s.left_margin = QStringLiteral("1");
    return s.write(settings_path, PlantSettings::read_order());
}

}
