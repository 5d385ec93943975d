#pragma once

#include <QString>
#include <stdexcept>

namespace Engine {

// Every failure of the storage layer arrives as this, with a text fit for the user.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace Engine
