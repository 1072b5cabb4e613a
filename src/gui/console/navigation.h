#pragma once
#include <QObject>
#include <functional>
#include <memory>

struct AppContext;
class QAbstractButton;
class QAction;
class QDialog;
class QMainWindow;
class QMenu;
class QToolButton;

// The console's main menu, its five toolbar buttons and the grid's pop-up
// menu, and which window each opens and what the console refreshes after.
class ConsoleNavigation : public QObject {
    Q_OBJECT
public:
    ConsoleNavigation(QMainWindow &console, AppContext &ctx);

    QAction *N1, *N2, *N3, *N4;   // 코드 등록
    QAction *B1;                  // 출하 현황
    QAction *changelog_act;       // 변경 이력
    QAction *comm_menu, *N9;      // 설정
    QAction *E1;                  // 수기 송장
    QAction *N11;                 // 도움말
    QAction *Z1;                  // 종료
    QToolButton *suju_btn, *car_btn, *rule_btn, *auto_btn, *manual_btn;
    QMenu *PopupMenu1;
    QAction *N6;                  // 수기송장 (order grid)

    QList<QToolButton *> toolbar_buttons() const;

    // Makes the window a modal child of the console, created anew each time.
    using Factory = std::function<std::unique_ptr<QDialog>(QWidget *parent)>;
    // Wires a menu entry or button (enabling it): open the window modally,
    // destroy it when it closes, then run `after` (a console refresh).
    void wire(QAction *entry, Factory make, std::function<void()> after = {});
    void wire(QAbstractButton *button, Factory make, std::function<void()> after = {});
    void open_modal(const Factory &make, const std::function<void()> &after);

private:
    QAction *entry(QMenu *menu, const char *name, const QString &caption);
    QToolButton *big_button(const char *name, const QString &caption, const QString &picture);

    QMainWindow &console_;
    AppContext &ctx_;
};
