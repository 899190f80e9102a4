#include "ledgers/Crypt32.h"

QByteArray StreamDecipher(
    const QByteArray &bytes, quint32 startKey, quint32 multiplier, quint32 increment)
{
    QByteArray out(bytes.size(), '\0');
    quint32 key = startKey;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 in = static_cast<quint8>(bytes[i]);
        out[i] = static_cast<char>(in ^ ((key >> 8) & 0xFF));
        key = (in + key) * multiplier + increment;
    }
    return out;
}
