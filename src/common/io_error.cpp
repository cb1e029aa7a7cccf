#include "common/io_error.h"

#include <QIODevice>

std::string DeviceError(const QIODevice& device) {
    const QString reason = device.errorString();
    return reason.isEmpty() ? std::string("unknown error") : reason.toStdString();
}
