#pragma once
#include <QDialog>
#include <QList>

struct AppContext;
class FieldKeys;
class NumberBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class RecordTableModel;
struct Vehicle;

// 차량 관리: registers, changes and deletes the trucks.  The console
// recounts every vehicle's trips after it closes.
class TF_CAR : public QDialog {
    Q_OBJECT
public:
    explicit TF_CAR(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *ca1;    // vehicle code 00-0000-0
    QLineEdit *ca1_1;  // vehicle number
    QLineEdit *ca2;    // driver
    NumberBox *ca3;    // load capacity
    NumberBox *ca4;    // empty weight
    QLineEdit *ca5;    // transport company code
    QLineEdit *ca6;    // its name
    QComboBox *ca7;    // 자사 / 지입 / 타사
    QComboBox *ca8;    // transport-fee class
    QComboBox *ca10;   // overtime allowance Y / N
    QComboBox *ca11;   // ticket printed Y / N
    QTableView *RxDBGrid1;
    QPushButton *newbtn;
    QPushButton *edtbtn;
    QPushButton *delbtn;
    QPushButton *savbtn;
    QPushButton *canbtn;
    QPushButton *clsbtn;

protected:
    void showEvent(QShowEvent *event) override;

private:
    enum Mode { None = 0, Adding = 1, Editing = 2 };

    void FormActivate();
    void RxDBGrid1CellClick();
    void newbtnClick();
    void edtbtnClick();
    void delbtnClick();
    void savbtnClick();
    void canbtnClick();
    void ca1Enter();
    void ca1_1Enter();
    void ca5Enter();

    void clear_fields();
    void lock_fields(bool locked);
    // new, then edit, delete, save, cancel
    void enable_buttons(bool add, bool change, bool save, bool cancel);
    void load_list();
    void fill_fee_classes();
    void back_to_idle_list();
    Vehicle vehicle_in_fields() const;
    bool has_code_digits() const;

    AppContext &ctx_;
    FieldKeys *keys_;
    RecordTableModel *listquery;
    QList<QWidget *> fields_;
    Mode mode_ = None;
};
