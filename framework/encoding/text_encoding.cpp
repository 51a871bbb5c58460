#include "text_encoding.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace wertomat {
namespace {

constexpr const char* kCodePage = "windows-1252";

}  // namespace

QString FromWindows1252(std::string_view text) {
    QStringDecoder decoder(kCodePage);
    return decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::string ToWindows1252(const QString& text) {
    QStringEncoder encoder(kCodePage, QStringConverter::Flag::Default);
    const QByteArray bytes = encoder(text);
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

std::string Windows1252ToUtf8(std::string_view text) {
    return FromWindows1252(text).toStdString();
}

}  // namespace wertomat
