#pragma once
#include <QDialog>
#include <QList>
#include <QSqlRecord>
#include <functional>

struct AppContext;
class FieldKeys;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;
class RecordTableModel;

// The common frame of the customer, site and specification windows: a
// navy title bar, the entry panel (labels on black), the button bar and the
// list below.  Browse state: entry locked, the list and "&A.등록" usable,
// save and cancel not; entry state the reverse.
class MasterDataForm : public QDialog {
    Q_OBJECT
public:
    QLabel *title_pan;
    QPushButton *new_btn;
    QPushButton *edt_btn;
    QPushButton *del_btn;
    QPushButton *prn_btn;
    QPushButton *sav_btn;
    QPushButton *can_btn;
    QPushButton *cls_btn;
    QPushButton *hlp_btn;

protected:
    // Only "&A.등록", "&S.저장", "&C.취소", "&Z.닫기" and "&H.도움" are
    // shown; `with_print` adds "&P.출력".
    MasterDataForm(AppContext &ctx, const QString &object_name, const QString &heading,
                   bool with_print, QWidget *parent);

    // An entry box of `chars` characters (its width follows), visited by
    // Enter and the page keys in the order made.
    QLineEdit *make_box(const char *name, int chars);
    // A row of the entry panel: its label and its boxes side by side.
    void add_row(int row, const QString &label, const QList<QWidget *> &widgets);
    // A code box: digits only, zero-filled to `width` on Enter before `then`.
    void make_code_box(QLineEdit *box, int width, const std::function<void()> &then);
    // A list grid under the button bar (or for the subclass to place).
    QTableView *make_grid(const char *name, RecordTableModel *model);
    QVBoxLayout *body() const { return body_; }

    void showEvent(QShowEvent *event) override;
    // On showing: load the lists, browse state, focus "&A.등록".
    virtual void FormShow() = 0;
    // Copies the list's current row into the entry boxes.
    virtual void show_current_row() = 0;
    // After save and cancel: the current row shown, entry locked, browsing.
    void back_to_browse();

    // Save: `add` the entry (false: its code exists, `exists_message` is
    // shown), then `reload` the list and go back to browsing.  A database
    // error leaves the entry as typed.
    void save_entry(const std::function<bool()> &add, const QString &exists_message,
                    const std::function<void()> &reload);

    void set_browse_state(bool on);
    void lock_entry(bool locked);
    // A title click: `grid` lists `rows(field)` of the clicked column's field.
    void list_in_order_of(QTableView *grid, int column,
                          const std::function<QList<QSqlRecord>(const QString &field)> &rows);
    // The widgets the browse state and the lock switch.
    void set_browse_grid(QWidget *grid) { browse_grid_ = grid; }
    void set_entry_boxes(const QList<QWidget *> &boxes) { entry_boxes_ = boxes; }

    // Runs one operator action; a failure is shown and ends it.
    void act(const std::function<void()> &action);
    void say(const QString &text);

    AppContext &ctx_;
    FieldKeys *keys_;

private:
    void can_btnClick();
    void hlp_btnClick();

    QGridLayout *entry_grid_;
    QVBoxLayout *body_;
    QWidget *browse_grid_ = nullptr;
    QList<QWidget *> entry_boxes_;
};
