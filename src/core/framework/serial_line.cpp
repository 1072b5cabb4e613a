#include "core/framework/serial_line.h"

#include <QSerialPort>

QString SerialLine::device_for(const QString &port)
{
    const QString p = port.trimmed();
    bool numeric = false;
    const int n = p.toInt(&numeric);
    if (numeric && n >= 1) {
#ifdef Q_OS_WIN
        return QStringLiteral("COM%1").arg(n);
#else
        return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
    }
#ifdef Q_OS_WIN
    if (p.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) || p.startsWith(QLatin1String("\\\\.\\")))
        return p;
#else
    if (p.startsWith(QLatin1Char('/')))
        return p;
#endif
    return {};
}

SerialPortLine::SerialPortLine(QObject *parent) : SerialLine(parent), port_(new QSerialPort(this))
{
    connect(port_, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = port_->readAll();
        if (!bytes.isEmpty())
            Q_EMIT received(bytes);
    });
    connect(port_, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { on_error(e); });
}

SerialPortLine::~SerialPortLine()
{
    close();
}

bool SerialPortLine::open(const QString &port, qint32 speed, QString *error)
{
    close();
    const QString device = device_for(port);
    if (device.isEmpty()) {
        *error = QStringLiteral("포트 설정 '%1'은(는) 포트 번호나 장치 경로가 아닙니다.").arg(port);
        return false;
    }
    if (speed <= 0) {
        *error = QStringLiteral("전송 속도가 잘못되었습니다.");
        return false;
    }
    port_->setPortName(device);
    opening_ = true;
    const bool opened = port_->open(QIODevice::ReadWrite);
    opening_ = false;
    if (!opened) {
        const auto code = port_->error();
        QString why = port_->errorString();
        if (code == QSerialPort::UnsupportedOperationError || code == QSerialPort::UnknownError) {
            // A file, a folder or another device: it takes no line settings.
            *error = QStringLiteral("직렬 포트가 아닙니다: %1 (%2)").arg(device, why);
            port_->clearError();
            return false;
        }
        if (code == QSerialPort::DeviceNotFoundError)
            why = QStringLiteral("포트가 없습니다");
        else if (code == QSerialPort::PermissionError)
            why = QStringLiteral("다른 프로그램이 쓰고 있거나 권한이 없습니다");
        *error = QStringLiteral("%1 포트를 열 수 없습니다: %2").arg(device, why);
        port_->clearError();
        return false;
    }
    if (!port_->setBaudRate(speed) || !port_->setDataBits(QSerialPort::Data8)
        || !port_->setParity(QSerialPort::NoParity) || !port_->setStopBits(QSerialPort::OneStop)
        || !port_->setFlowControl(QSerialPort::NoFlowControl)) {
        *error = QStringLiteral("%1 포트에 속도 %2를 설정할 수 없습니다: %3").arg(device).arg(speed).arg(port_->errorString());
        port_->close();
        port_->clearError();
        return false;
    }
    return true;
}

void SerialPortLine::close()
{
    if (port_->isOpen())
        port_->close();
    port_->clearError();
}

bool SerialPortLine::is_open() const
{
    return port_->isOpen();
}

bool SerialPortLine::write(const QByteArray &bytes, QString *error)
{
    if (!port_->isOpen()) {
        *error = QStringLiteral("포트가 열려 있지 않습니다.");
        return false;
    }
    writing_ = true;
    const bool ok = port_->write(bytes) == bytes.size();
    writing_ = false;
    if (!ok) {
        *error = port_->errorString();
        port_->clearError();
        return false;
    }
    return true;
}

void SerialPortLine::on_error(int e)
{
    // A failing open() says what went wrong itself, once.
    if (opening_)
        return;
    switch (e) {
    case QSerialPort::NoError:  // also sent on a successful open
        return;
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
        // A vanished device reports this in a tight loop with the port
        // still open: close it and say so once.
        if (!port_->isOpen())
            return;
        port_->close();
        port_->clearError();
        Q_EMIT line_error(PortLost);
        return;
    case QSerialPort::WriteError:
        if (writing_)
            return;
        port_->clearError();
        Q_EMIT line_error(TxFull);
        return;
    case QSerialPort::TimeoutError:
    case QSerialPort::OpenError:
    case QSerialPort::NotOpenError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
        // Reported by the call that failed.
        return;
    default:
        port_->clearError();
        Q_EMIT line_error(Unknown);
        return;
    }
}

bool FakeSerialLine::open(const QString &port, qint32 speed, QString *error)
{
    ++opens;
    if (!refuse_open.isEmpty()) {
        *error = refuse_open;
        return false;
    }
    opened_port = port;
    opened_speed = speed;
    open_ = true;
    return true;
}

bool FakeSerialLine::write(const QByteArray &bytes, QString *error)
{
    if (!open_) {
        *error = QStringLiteral("포트가 열려 있지 않습니다.");
        return false;
    }
    written << bytes;
    return true;
}
