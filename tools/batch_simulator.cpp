// Plays a batch-plant controller on a serial line, so that the whole loop
// from the console's reservation slots to the printed ticket can be tried
// without a plant.  Prints every frame it receives, decoded, and answers
// with status letters: typed by hand (the letters of a typed line, U, B, E
// and N, go out in one write), or with --auto in a cycle (U, B several
// times, E, N) whenever slot 1 of the last frame holds a complete load.
//
//   batch_simulator DEVICE [--speed 9600] [--auto] [--weighings 3] [--step-ms 700]
//                   [--together N] [--crlf] [--drop-after N] [--drop-ms 3000]
//
// Faults a plant line shows:
//   --together N     the cycle's letters N at a time in one write ("UB", "EN")
//   --crlf           CR LF after every write
//   --drop-after N   after every N cycles close the line for --drop-ms
//                    milliseconds, then open it again (as a pulled cable)
//
// DEVICE is a serial device or one end of a pty pair, for example
//   socat -d -d pty,raw,echo=0,link=/tmp/plant1 pty,raw,echo=0,link=/tmp/console1
//   batch_simulator /tmp/plant1 --auto      (and the console's port set to /tmp/console1)
#include "core/framework/korean_text.h"

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
    int together = 1;
    bool crlf = false;
    int drop_after = 0;
    int drop_ms = 3000;
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
        if (!open_port()) {
            out << "cannot open " << o.device << ": " << port_.errorString() << Qt::endl;
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
            return;
        }
        connect(&port_, &QSerialPort::readyRead, this, [this] { on_bytes(port_.readAll()); });
        connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
            if ((e == QSerialPort::ReadError || e == QSerialPort::ResourceError) && !dropped_) {
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
    bool open_port()
    {
        if (!port_.open(QIODevice::ReadWrite))
            return false;
        port_.setBaudRate(options_.speed);
        port_.setDataBits(QSerialPort::Data8);
        port_.setParity(QSerialPort::NoParity);
        port_.setStopBits(QSerialPort::OneStop);
        return true;
    }

    // Off the line for a while, then back (retrying until the device is
    // there again: a pty pair made anew by a socat loop, say).
    void drop()
    {
        dropped_ = true;
        port_.close();
        out << "dropped off the line for " << options_.drop_ms << " ms" << Qt::endl;
        QTimer::singleShot(options_.drop_ms, this, [this] { come_back(); });
    }

    void come_back()
    {
        port_.clearError();
        if (!open_port()) {
            QTimer::singleShot(100, this, [this] { come_back(); });
            return;
        }
        dropped_ = false;
        buffer_.clear();
        out << "back on the line" << Qt::endl;
    }

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
        QByteArray letters("U");
        letters += QByteArray(options_.weighings, 'B');
        letters += "EN";
        int delay = options_.step_ms;
        const int n = qMax(1, options_.together);
        for (qsizetype i = 0; i < letters.size(); i += n) {
            const QByteArray write = letters.mid(i, n);
            QTimer::singleShot(delay, this, [this, write] {
                send(write);
                if (write.endsWith('N'))
                    end_cycle();
            });
            delay += options_.step_ms;
        }
    }

    void end_cycle()
    {
        cycling_ = false;
        ++cycles_;
        if (options_.drop_after > 0 && cycles_ % options_.drop_after == 0)
            QTimer::singleShot(options_.step_ms, this, [this] { drop(); });  // the N goes out first
    }

    void send(QByteArray letters)
    {
        if (!port_.isOpen())
            return;
        if (options_.crlf)
            letters += "\r\n";
        port_.write(letters);
        out << "sent " << QString::fromLatin1(letters).replace(QLatin1String("\r\n"), QLatin1String("<CR><LF>"))
            << Qt::endl;
    }

    void on_stdin()
    {
        char line[256];
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line);
        if (n <= 0) {
            stdin_->setEnabled(false);
            return;
        }
        QByteArray letters;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = static_cast<char>(toupper(line[i]));
            if (c == 'U' || c == 'B' || c == 'E' || c == 'N')
                letters += c;
        }
        if (!letters.isEmpty())
            send(letters);
    }

    Options options_;
    QSerialPort port_;
    QSocketNotifier *stdin_ = nullptr;
    QByteArray buffer_;
    bool slot1_complete_ = false;
    bool cycling_ = false;
    bool dropped_ = false;
    int cycles_ = 0;
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
        else if (a == QLatin1String("--together") && i + 1 < args.size())
            o.together = args[++i].toInt();
        else if (a == QLatin1String("--crlf"))
            o.crlf = true;
        else if (a == QLatin1String("--drop-after") && i + 1 < args.size())
            o.drop_after = args[++i].toInt();
        else if (a == QLatin1String("--drop-ms") && i + 1 < args.size())
            o.drop_ms = args[++i].toInt();
        else if (o.device.isEmpty())
            o.device = a;
    }
    if (o.device.isEmpty()) {
        fprintf(stderr, "usage: batch_simulator DEVICE [--speed 9600] [--auto] [--weighings 3] [--step-ms 700]\n"
                        "                       [--together N] [--crlf] [--drop-after N] [--drop-ms 3000]\n");
        return 2;
    }
    Controller controller(o);
    return app.exec();
}
