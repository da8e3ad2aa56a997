// Outcome of a data-file operation: ok, or the kind of failure and a description.
#pragma once

#include <QString>

namespace gratinel {

class Status {
public:
    enum class Code {
        Ok,
        NotFound,   // the file is not there
        IoError,    // the system refused a read, write, sync or open
        Corrupt,    // the bytes on disk cannot be what the book holds
        Full,       // a count or a position would leave its range
    };

    Status() = default;
    static Status ok() { return {}; }
    static Status notFound(const QString &what) { return Status(Code::NotFound, what); }
    static Status ioError(const QString &what) { return Status(Code::IoError, what); }
    static Status corrupt(const QString &what) { return Status(Code::Corrupt, what); }
    static Status full(const QString &what) { return Status(Code::Full, what); }

    bool isOk() const { return code_ == Code::Ok; }
    Code code() const { return code_; }
    const QString &message() const { return message_; }

private:
    Status(Code code, const QString &message) : code_(code), message_(message) {}

    Code code_ = Code::Ok;
    QString message_;
};

} // namespace gratinel
