#pragma once
#include "core/data/ticket_data.h"
#include "core/shipments/hand_spec.h"

#include <QDialog>
#include <QList>
#include <QString>

struct AppContext;
class DateBox;
class DecimalBox;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QSqlRecord;
class TimeBox;

// 수기송장: a form laid out like the paper delivery ticket, in which the
// operator types or corrects a ticket's values and prints them on the
// delivery ticket.  Created once at start-up and kept for the whole run,
// so every field keeps its last value between uses.
//
//   ctx.handprint->fill_hand_ticket(order_row, working_date, shipper);  // pop-up "수기송장"
//   ctx.handprint->exec();                                              // menu "[&E] 수 기 송 장"
//
// `order_row` is the order's row as its grid holds it (select * from
// r_suju); an empty record empties the order's fields.
class TF_HANDPRINT : public QDialog {
    Q_OBJECT
public:
    explicit TF_HANDPRINT(AppContext &ctx, QWidget *parent = nullptr);

    // Fills the order's fields, the shipper and the KS box, then shows the
    // window modally.  The number, vehicle, quantities, times and the other
    // typed fields keep what they hold.  A database error is shown and the
    // window is not opened.
    void fill_hand_ticket(const QSqlRecord &order, const QString &working_date, const QString &shipper);
    // The filling alone; throws DbError.
    void fill(const QSqlRecord &order, const QString &working_date, const QString &shipper);

    // The delivery ticket the fields make.
    TicketData ticket() const;

    QLineEdit *HD01;    // NO.
    DateBox *HD02;      // date
    QLineEdit *HD03;    // customer (귀하)
    QLineEdit *HD04;    // 납품장소
    QLineEdit *HD05;    // 차량번호
    QLineEdit *HD06;    // 운전기사
    QLineEdit *HD07;    // 굵은골재
    DecimalBox *HD08;   // 납품용적
    QLineEdit *HD09;    // 호칭강도
    DecimalBox *HD10;   // 누계
    QLineEdit *HD11;    // 슬럼프
    QLineEdit *HD12;    // 누계대수
    QLineEdit *HD13;    // 콘크리트
    TimeBox *HD14;      // 납품 시각, 발
    QLineEdit *HD15;    // 골재종류
    QLineEdit *HD16;    // 착
    QLineEdit *HD17;    // 시멘트
    QLineEdit *HD18;    // 지정사항
    QLineEdit *HD19;    // 공기량
    QLineEdit *HD20;    // 염화물량
    QLineEdit *HD21;    // 출하확인
    QLineEdit *HD22;    // 인수확인
    QCheckBox *hd23;    // ks 여부
    QLineEdit *HD24;    // 혼화제률
    QPushButton *BTN_PRN;

    void BTN_PRNClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void HD05Enter();
    void move_focus(QWidget *from, int step);

    AppContext &ctx_;
    // Enter, Page Up and Page Down move along this order.
    QList<QWidget *> order_;
};
