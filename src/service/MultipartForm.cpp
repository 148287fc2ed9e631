#include "service/MultipartForm.h"

#include "service/Cp1252.h"
#include "service/Error.h"

#include <QCoreApplication>
#include <QFile>

namespace tavix {

void MultipartForm::addText(const QString &name, const QString &value)
{
    put({name, value, false});
}

void MultipartForm::addFile(const QString &name, const QString &path)
{
    put({name, path, true});
}

void MultipartForm::put(Field field)
{
    for (Field &f : m_fields) {
        if (f.name == field.name) {
            f = std::move(field);
            return;
        }
    }
    m_fields.append(std::move(field));
}

QStringList MultipartForm::names() const
{
    QStringList out;
    for (const Field &f : m_fields)
        out << f.name;
    return out;
}

QByteArray MultipartForm::base64Lines(const QByteArray &data)
{
    const QByteArray plain = data.toBase64();
    QByteArray out;
    out.reserve(plain.size() + plain.size() / 64 + 1);
    for (qsizetype at = 0; at < plain.size(); at += 64) {
        const QByteArray group = plain.mid(at, 64);
        out += group;
        if (group.size() == 64)
            out += '\r';
    }
    return out;
}

static QByteArray readWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Error(QCoreApplication::translate("tavix", "Impossibile leggere il file %1: %2")
                        .arg(path, file.errorString()));
    }
    return file.readAll();
}

QByteArray MultipartForm::body(const QByteArray &boundary) const
{
    QByteArray out;
    for (const Field &f : m_fields) {
        out += "--" + boundary + "\r\n";
        out += "Content-Disposition: form-data; name=\"" + toCp1252(f.name) + "\"\r\n\r\n";
        out += f.isFile ? base64Lines(readWhole(f.value)) : toCp1252(f.value);
        out += "\r\n";
    }
    out += "--" + boundary + "--\r\n";
    return out;
}

QByteArray MultipartForm::contentType(const QByteArray &boundary)
{
    return "multipart/form-data; boundary=" + boundary;
}

} // namespace tavix
