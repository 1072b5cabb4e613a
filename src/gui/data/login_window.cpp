#include "gui/data/login_window.h"
#include "core/data/data_files.h"
#include "core/data/data_module.h"
#include "core/framework/guarded.h"
#include "gui/framework/picture_button.h"
#include "core/framework/prompter.h"

#include <QFrame>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>

namespace {
// The soft oval behind the operator's caption.
class Ellipse : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 255, 255, 200), 2));
        p.setBrush(QColor(255, 255, 255, 60));
        p.drawEllipse(rect().adjusted(2, 2, -2, -2));
    }
};
}

TF_PASS::TF_PASS(TF_DBMDL &dbm, Prompter &prompter, QLineEdit *dam_edit, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), dbm_(dbm), prompter_(prompter),
      dam_edit_(dam_edit)
{
    setObjectName(QStringLiteral("F_PASS"));
    setWindowTitle(QStringLiteral("사용자 암호 입력"));
    setFixedSize(520, 330);

    main_img = new QLabel(this);
    main_img->setObjectName(QStringLiteral("main_img"));
    main_img->setScaledContents(true);
    main_img->setStyleSheet(QStringLiteral("background: #2b4a6f;"));

    auto *ellipse = new Ellipse(this);
    ellipse->setObjectName(QStringLiteral("Shape1"));
    ellipse->setGeometry(40, 28, 440, 96);

    company_name = new QLabel(QStringLiteral("베 달 로 레 미 콘"), this);
    company_name->setObjectName(QStringLiteral("company_name"));
    QFont big(QStringLiteral("굴림"));
    big.setPointSize(24);
    big.setBold(true);
    company_name->setFont(big);
    company_name->setAlignment(Qt::AlignCenter);
    company_name->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    company_name->setGeometry(40, 28, 440, 96);

    auto *bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::Box | QFrame::Raised);
    bevel->setLineWidth(2);
    bevel->setStyleSheet(QStringLiteral("QFrame#Bevel1 { border: 2px groove #dfe6ee; border-radius: 4px;"
                                        " background: rgba(255,255,255,40); }"));
    bevel->setGeometry(40, 150, 440, 70);

    auto *label = new QLabel(QStringLiteral("사용자 이름"), this);
    label->setObjectName(QStringLiteral("Label1"));
    QFont label_font(QStringLiteral("굴림"));
    label_font.setPointSize(12);
    label_font.setBold(true);
    label->setFont(label_font);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->setGeometry(60, 170, 120, 30);

    useredt = new QLineEdit(this);
    useredt->setObjectName(QStringLiteral("useredt"));
    QFont edit_font(QStringLiteral("굴림"));
    edit_font.setPointSize(12);
    useredt->setFont(edit_font);
    useredt->setGeometry(190, 168, 270, 34);
    label->setBuddy(useredt);

    login_btn = new PictureButton(this);
    login_btn->setObjectName(QStringLiteral("login_btn"));
    login_btn->set_picture(QPixmap(QStringLiteral(":/pictures/login.png")));
    login_btn->setToolTip(QStringLiteral("로그인"));
    login_btn->setGeometry(150, 240, 100, 64);

    logout_btn = new PictureButton(this);
    logout_btn->setObjectName(QStringLiteral("logout_btn"));
    logout_btn->set_picture(QPixmap(QStringLiteral(":/pictures/logout.png")));
    logout_btn->setToolTip(QStringLiteral("종료"));
    logout_btn->setGeometry(270, 240, 100, 64);

    main_img->lower();
    connect(login_btn, &PictureButton::clicked, this, &TF_PASS::login_btnClick);
    connect(logout_btn, &PictureButton::clicked, this, &TF_PASS::logout_btnClick);
    connect(useredt, &QLineEdit::returnPressed, this, &TF_PASS::login_btnClick);

    FormCreate();
}

void TF_PASS::FormCreate()
{
    const QString path = data_file(QStringLiteral("image/pass.jpg"));
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        prompter_.error(this, QStringLiteral("로그인 그림을 읽을 수 없습니다.\n%1\n%2")
                                  .arg(path, reader.errorString()));
        return;
    }
    main_img->setPixmap(QPixmap::fromImage(image));
}

void TF_PASS::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    useredt->setText(dbm_.settings.person_in_charge);
    useredt->setFocus();
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TF_PASS::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    main_img->setGeometry(rect());
}

void TF_PASS::login_btnClick()
{
    const bool connected = guarded(prompter_, this, [this] { dbm_.connect_database(); });
    if (!connected)
        return;
    if (dam_edit_)
        dam_edit_->setText(useredt->text());
    done(LoggedIn);
}

void TF_PASS::logout_btnClick()
{
    done(LoggedOut);
}
