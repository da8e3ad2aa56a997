// The system services the book itself needs (messages, pointer, the folder lock, the date):
// Qt Core only, so that the store and the book tool carry no window library.
#pragma once

#include "platform/instancelock.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace gratinel {

class System {
public:
    enum class Icon { None, Information, Warning, Critical };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };
    enum class Pointer { Normal, Hourglass };

    virtual ~System() = default;

    // A modal message box with the application title as caption.
    virtual Answer msgBox(const QString &text, Icon icon, Buttons buttons = Buttons::Ok,
                          Answer defaultAnswer = Answer::Ok) = 0;
    virtual void beep() = 0;
    // The screen's mouse pointer; a state, not a stack.
    virtual void setPointer(Pointer pointer) = 0;
    // True when another instance already has this program's book; otherwise this
    // instance now holds it until it ends.
    virtual bool anotherInstanceRunning() = 0;
    // The directory that holds the program's executable.
    virtual QString executableDir() = 0;
    virtual QDate today() = 0;
    // The date and time of day now, local time.
    virtual QDateTime now() = 0;
    // Ends the program. The caller still returns normally and must do nothing more.
    virtual void endProgram() = 0;
    virtual bool programEnded() const = 0;
};

// The services without any window, for command-line programs: messages go to the error
// output and answer with their default, the pointer and the beep do nothing.
class ConsoleSystem : public System {
public:
    Answer msgBox(const QString &text, Icon icon, Buttons buttons, Answer defaultAnswer) override;
    void beep() override {}
    void setPointer(Pointer) override {}
    bool anotherInstanceRunning() override;
    QString executableDir() override;
    QDate today() override { return QDate::currentDate(); }
    QDateTime now() override { return QDateTime::currentDateTime(); }
    void endProgram() override { ended_ = true; }
    bool programEnded() const override { return ended_; }

private:
    InstanceLock lock_;
    bool ended_ = false;
};

} // namespace gratinel
