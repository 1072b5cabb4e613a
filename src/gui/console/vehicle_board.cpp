#include "gui/console/vehicle_board.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/framework/board_grid.h"
#include "core/masterdata/vehicle_queries.h"
#include "core/framework/guarded.h"
#include "core/framework/record_table_model.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace {
using Col = RecordTableModel::Column;
QList<Col> vehicle_columns()
{
    return {
        {"c_STATE", "ON", Qt::AlignCenter, {}, false, 4},
        {"scode", "번  호", Qt::AlignCenter, {}, false, 5},
        {"c_dsum", "일합", Qt::AlignRight | Qt::AlignVCenter, {}, false, 4},
        {"c_msum", "월합", Qt::AlignRight | Qt::AlignVCenter, {}, false, 4},
        {"c_station", "현 장  명", Qt::AlignLeft | Qt::AlignVCenter, {}, false, 0},
    };
}
}

VehicleBoard::VehicleBoard(AppContext &ctx, std::function<QString()> board_date, QObject *parent)
    : QObject(parent), ctx_(ctx), board_date_(std::move(board_date))
{
    car_chk = new QCheckBox(QStringLiteral("운행차량선택"));
    car_chk->setObjectName(QStringLiteral("car_chk"));
    car_yes_btn = new QPushButton(QStringLiteral("모든차량(YES)"));
    car_yes_btn->setObjectName(QStringLiteral("car_yes_btn"));
    car_yes_btn->setAutoDefault(false);
    car_yes_btn->setFocusPolicy(Qt::NoFocus);

    car_query = new RecordTableModel(vehicle_columns(), this);
    car_query->setObjectName(QStringLiteral("car_query"));
    car_grid = new BoardGrid(QStringLiteral("car_grid"), car_query);

    RGrid = new QTableWidget(0, 3);
    RGrid->setObjectName(QStringLiteral("RGrid"));
    RGrid->setHorizontalHeaderLabels({QStringLiteral("시간"), QStringLiteral("거래처"), QStringLiteral("현장")});
    RGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    RGrid->verticalHeader()->hide();
    RGrid->verticalHeader()->setDefaultSectionSize(RGrid->fontMetrics().height() + 4);
    const int char_w = RGrid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    RGrid->setColumnWidth(0, 10 * char_w);
    RGrid->setColumnWidth(1, 16 * char_w);
    RGrid->horizontalHeader()->setStretchLastSection(true);
    RGrid->setFrameStyle(QFrame::Box | QFrame::Plain);
    RGrid->hide();

    connect(car_grid, &QAbstractItemView::clicked, this, &VehicleBoard::car_gridClick);
    connect(car_grid, &BoardGrid::key_released, this, &VehicleBoard::car_gridKeyUp);
    connect(car_grid, &QAbstractItemView::doubleClicked, this, &VehicleBoard::car_gridDblClick);
    connect(car_grid, &BoardGrid::double_click_released, this, &VehicleBoard::car_gridClick);
    connect(car_chk, &QCheckBox::clicked, this, &VehicleBoard::car_chkClick);
    connect(car_yes_btn, &QPushButton::clicked, this, &VehicleBoard::car_yes_btnClick);
}

QWidget *VehicleBoard::window() const
{
    return car_grid->window();
}

void VehicleBoard::load_vehicles(const QString &state)
{
    QSqlQuery q = vehicles_db::vehicles(ctx_.dbm->db(), state);
    car_query->load(q);
}

void VehicleBoard::recount_all_vehicles(const QString &date)
{
    vehicles_db::recount_all_vehicles(ctx_.dbm->db(), date);
}

void VehicleBoard::recount_vehicle(const QString &date, const QString &vehicle_code,
                                   const QString &site_name)
{
    vehicles_db::recount_vehicle(ctx_.dbm->db(), date, vehicle_code, site_name);
}

void VehicleBoard::show_vehicle_trips(const QString &vehicle_code)
{
    const QList<vehicles_db::Trip> trips = vehicles_db::vehicle_trips(ctx_.dbm->db(), vehicle_code, board_date_());
    RGrid->setRowCount(0);
    RGrid->setRowCount(trips.size());
    for (int i = 0; i < trips.size(); ++i) {
        RGrid->setItem(i, 0, new QTableWidgetItem(trips[i].time));
        RGrid->setItem(i, 1, new QTableWidgetItem(trips[i].customer));
        RGrid->setItem(i, 2, new QTableWidgetItem(trips[i].site));
    }
}

QString VehicleBoard::current_code() const
{
    return car_query->text(car_grid->cursor_row(), QStringLiteral("code"));
}

QString VehicleBoard::current_number() const
{
    return car_query->text(car_grid->cursor_row(), QStringLiteral("scode"));
}

void VehicleBoard::car_gridClick()
{
    if (trip_list_suppressed) {
        RGrid->hide();
        trip_list_suppressed = false;
    } else {
        RGrid->show();
        RGrid->raise();
    }
    guarded(*ctx_.prompter, window(), [this] { show_vehicle_trips(current_code()); });
}

void VehicleBoard::car_gridKeyUp()
{
    guarded(*ctx_.prompter, window(), [this] { show_vehicle_trips(current_code()); });
}

void VehicleBoard::car_gridDblClick()
{
    if (car_chk->isChecked()) {
        guarded(*ctx_.prompter, window(), [this] {
            const QString state = car_query->text(car_grid->cursor_row(), QStringLiteral("c_state"));
            const int row = car_grid->cursor_row();
            vehicles_db::toggle_service(ctx_.dbm->db(), current_code(), state);
            load_vehicles(QString());
            car_grid->set_cursor_row(row);
        });
    } else if (send_to_slot) {
        send_to_slot();
    }
    RGrid->hide();
    trip_list_suppressed = true;
}

void VehicleBoard::car_chkClick()
{
    guarded(*ctx_.prompter, window(), [this] {
        load_vehicles(car_chk->isChecked() ? QString() : QStringLiteral("YES"));
    });
}

void VehicleBoard::car_yes_btnClick()
{
    guarded(*ctx_.prompter, window(), [this] {
        vehicles_db::put_all_in_service(ctx_.dbm->db());
        load_vehicles(QStringLiteral("YES"));
    });
}
