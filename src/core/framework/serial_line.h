#pragma once
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSerialPort;

// One serial line to a batch controller: N,8,1 at a given speed, bytes out,
// every arrival of bytes in.  Errors of the line come as the event codes of
// the communication control the controllers were always driven with.
class SerialLine : public QObject {
    Q_OBJECT
public:
    enum Event {
        Break = 1001,
        CtsTimeout = 1002,
        DsrTimeout = 1003,
        Framing = 1004,
        Overrun = 1006,
        CdTimeout = 1007,
        RxOverflow = 1008,
        TxFull = 1010,
        DeviceControlBlock = 1011,
        Unknown = 1099,
        // The device went away (a USB adapter pulled, the far end of a pty
        // closed): the line has closed itself; the link opens it again when
        // the device is back.
        PortLost = 2001,
    };

    using QObject::QObject;

    // `port`: a number N is the platform's Nth serial port (COMN on Windows,
    // /dev/ttyS(N-1) elsewhere); a device path is used as it is.
    // False with *error (for the operator) when it cannot be opened.
    virtual bool open(const QString &port, qint32 speed, QString *error) = 0;
    virtual void close() = 0;
    virtual bool is_open() const = 0;
    // False with *error when the line refuses the bytes (closed, failing).
    virtual bool write(const QByteArray &bytes, QString *error) = 0;

    // The device name a port setting stands for on this platform; empty
    // for a setting that is neither a number nor a device path.
    static QString device_for(const QString &port);

Q_SIGNALS:
    // Everything that was waiting, at once.
    void received(const QByteArray &bytes);
    void line_error(int event);
};

// The real line, a QSerialPort on the user-interface thread.
class SerialPortLine : public SerialLine {
    Q_OBJECT
public:
    explicit SerialPortLine(QObject *parent = nullptr);
    ~SerialPortLine() override;
    bool open(const QString &port, qint32 speed, QString *error) override;
    void close() override;
    bool is_open() const override;
    bool write(const QByteArray &bytes, QString *error) override;

private:
    void on_error(int error);
    QSerialPort *port_;
    bool writing_ = false;  // a failed write() reports its own error
    bool opening_ = false;  // so does a failed open()
};

// A line for tests: records what is written, delivers what the test feeds.
class FakeSerialLine : public SerialLine {
    Q_OBJECT
public:
    using SerialLine::SerialLine;
    bool open(const QString &port, qint32 speed, QString *error) override;
    void close() override { open_ = false; }
    bool is_open() const override { return open_; }
    bool write(const QByteArray &bytes, QString *error) override;

    // As if the controller had sent these bytes.
    void feed(const QByteArray &bytes) { Q_EMIT received(bytes); }
    void fail(int event) { Q_EMIT line_error(event); }
    // As a pulled USB adapter: the line closes itself and says so.
    void vanish()
    {
        open_ = false;
        Q_EMIT line_error(PortLost);
    }

    QList<QByteArray> written;
    QString opened_port;
    qint32 opened_speed = 0;
    QString refuse_open;  // non-empty: open() fails with this text
    int opens = 0;

private:
    bool open_ = false;
};
