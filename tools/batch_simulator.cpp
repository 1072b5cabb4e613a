// Plays a batch-plant controller on a serial line, so that the whole loop
// from the console's reservation slots to the printed ticket can be tried
// without a plant.  Prints every frame it receives, decoded, and answers
// with status letters: typed by hand (one letter a line: U, B, E, N), or
// with --auto in a cycle (U, B several times, E, N) whenever slot 1 of the
// last frame holds a complete load.
//
//   batch_simulator DEVICE [--speed 9600] [--auto] [--weighings 3] [--step-ms 700]
//
// DEVICE is a serial device or one end of a pty pair, for example
//   socat -d -d pty,raw,echo=0,link=/tmp/plant1 pty,raw,echo=0,link=/tmp/console1
//   batch_simulator /tmp/plant1 --auto      (and the console's port set to /tmp/console1)
#include "framework/korean_text.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {
QTextStream out(stdout);

struct Options {
    QString device;
    int speed = 9600;
    bool automatic = false;
    int weighings = 3;
    int step_ms = 700;
};

QString describe_load(const QByteArray &field)
{
    if (field == QByteArray(11, '0'))
        return QStringLiteral("-");
    const int hundredths = field.mid(4, 3).toInt();
    return QStringLiteral("product %1, %2 m3, vehicle %3")
        .arg(QString::fromLatin1(field.left(4)))
        .arg(hundredths / 100.0, 0, 'f', 2)
        .arg(QString::fromLatin1(field.mid(7, 4)));
}

class Controller : public QObject {
public:
    explicit Controller(const Options &o) : options_(o)
    {
        port_.setPortName(o.device);
        if (!port_.open(QIODevice::ReadWrite)) {
            out << "cannot open " << o.device << ": " << port_.errorString() << Qt::endl;
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
            return;
        }
        port_.setBaudRate(o.speed);
        port_.setDataBits(QSerialPort::Data8);
        port_.setParity(QSerialPort::NoParity);
        port_.setStopBits(QSerialPort::OneStop);
        connect(&port_, &QSerialPort::readyRead, this, [this] { on_bytes(port_.readAll()); });
        connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
            if (e == QSerialPort::ReadError || e == QSerialPort::ResourceError) {
                out << "line closed" << Qt::endl;
                QCoreApplication::exit(0);
            }
        });
        stdin_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(stdin_, &QSocketNotifier::activated, this, [this] { on_stdin(); });
        out << "controller on " << o.device << (o.automatic ? " (automatic cycle)" : " (type U, B, E or N)")
            << Qt::endl;
    }

private:
    void on_bytes(const QByteArray &bytes)
    {
        buffer_ += bytes;
        for (;;) {
            const int start = buffer_.indexOf('\x02');
            const int end = buffer_.indexOf('\x03', start + 1);
            if (start < 0 || end < 0)
                break;
            on_frame(buffer_.mid(start + 1, end - start - 1));
            buffer_.remove(0, end + 1);
        }
        if (buffer_.size() > 4096)
            buffer_.clear();
    }

    void on_frame(const QByteArray &body)
    {
        const int unit = body.size() == 107 ? 1 : body.size() == 44 ? 2 : 0;
        out << "frame (" << body.size() + 2 << " bytes, unit " << (unit ? QString::number(unit) : QStringLiteral("?"))
            << "):" << Qt::endl;
        if (unit == 0) {
            out << "  not a frame of either unit" << Qt::endl;
            return;
        }
        const QByteArray loads[3] = {body.mid(0, 11), body.mid(22, 11), body.mid(33, 11)};
        for (int slot = 0; slot < 3; ++slot) {
            out << "  slot " << slot + 1 << ": " << describe_load(loads[slot]);
            if (unit == 1)
                out << "  site '" << cp949::decode(body.mid(44 + slot * 21, 21)).trimmed() << "'";
            out << Qt::endl;
        }
        slot1_complete_ = loads[0] != QByteArray(11, '0');
        if (options_.automatic && slot1_complete_ && !cycling_)
            start_cycle();
    }

    void start_cycle()
    {
        cycling_ = true;
        QList<char> letters{'U'};
        for (int i = 0; i < options_.weighings; ++i)
            letters << 'B';
        letters << 'E' << 'N';
        int delay = options_.step_ms;
        for (char c : letters) {
            QTimer::singleShot(delay, this, [this, c] {
                send(c);
                if (c == 'N')
                    cycling_ = false;
            });
            delay += options_.step_ms;
        }
    }

    void send(char letter)
    {
        port_.write(QByteArray(1, letter));
        out << "sent " << letter << Qt::endl;
    }

    void on_stdin()
    {
        char line[256];
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line);
        if (n <= 0) {
            stdin_->setEnabled(false);
            return;
        }
        for (ssize_t i = 0; i < n; ++i) {
            const char c = static_cast<char>(toupper(line[i]));
            if (c == 'U' || c == 'B' || c == 'E' || c == 'N')
                send(c);
        }
    }

    Options options_;
    QSerialPort port_;
    QSocketNotifier *stdin_ = nullptr;
    QByteArray buffer_;
    bool slot1_complete_ = false;
    bool cycling_ = false;
};
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--auto"))
            o.automatic = true;
        else if (a == QLatin1String("--speed") && i + 1 < args.size())
            o.speed = args[++i].toInt();
        else if (a == QLatin1String("--weighings") && i + 1 < args.size())
            o.weighings = args[++i].toInt();
        else if (a == QLatin1String("--step-ms") && i + 1 < args.size())
            o.step_ms = args[++i].toInt();
        else if (o.device.isEmpty())
            o.device = a;
    }
    if (o.device.isEmpty()) {
        fprintf(stderr, "usage: batch_simulator DEVICE [--speed 9600] [--auto] [--weighings 3] [--step-ms 700]\n");
        return 2;
    }
    Controller controller(o);
    return app.exec();
}
