#include "ledgers/Big5.h"
#include "ledgers/CnDES.h"
#include "ledgers/Crypt32.h"
#include "ledgers/PublicFunction.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
}

QByteArray big5(const QString &text)
{
    const std::optional<QByteArray> bytes = toBig5(text);
    EXPECT_TRUE(bytes.has_value()) << text.toStdString();
    return bytes.value_or(QByteArray());
}

// The enciphering direction of the legacy stream cipher, which the program itself never
// needs: it lets the tests build lines as older versions wrote them.
QByteArray streamEncipher(const QByteArray &plain)
{
    QByteArray out(plain.size(), '\0');
    quint32 key = LegacyStartKey;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const quint8 o = static_cast<quint8>(plain[i]) ^ ((key >> 8) & 0xFF);
        out[i] = static_cast<char>(o);
        key = (o + key) * LegacyMultiplier + LegacyIncrement;
    }
    return out;
}

template<typename F> QString errorOf(F &&f)
{
    try {
        f();
    } catch (const LedgerError &e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

} // namespace

// Published known-answer vectors (FIPS 46 worked example, FIPS 81 ECB example and others).
TEST(Des, KnownAnswerVectors)
{
    struct Case
    {
        const char *key, *plain, *cipher;
    };
    const Case cases[] = {
        { "133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405" },
        { "0E329232EA6D0D73", "8787878787878787", "0000000000000000" },
        { "0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815" },
        // "Now is the time for all " in ECB: three blocks, each on its own.
        { "0123456789ABCDEF", "4E6F77206973207468652074696D6520666F7220616C6C20",
            "3FA40E8A984D48156A271787AB8883F9893D51EC4B563B53" },
        { "0101010101010101", "0000000000000001", "166B40B44ABA4BD6" },
        { "7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B" },
        { "0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(DesEncryptText(hex(c.plain), hex(c.key)).toHex().toUpper(), c.cipher);
        EXPECT_EQ(DesEncryptHex(hex(c.plain), hex(c.key)), c.cipher);
        EXPECT_EQ(DesDecryptHex(c.cipher, hex(c.key)), hex(c.plain));
    }
}

TEST(Des, KeyIsFirstEightBytesZeroPaddedAndParityBitsIgnored)
{
    const QByteArray text = "ledger";
    EXPECT_EQ(DesEncryptText(text, "hwel83&qz5"), DesEncryptText(text, "hwel83&q"));
    EXPECT_EQ(DesEncryptText(text, "hwel83&qz5"), DesEncryptText(text, "hwel83&qXY"));
    EXPECT_EQ(DesEncryptText(text, "abc"), DesEncryptText(text, QByteArray("abc\0\0\0\0\0", 8)));
    EXPECT_NE(DesEncryptText(text, "abc"), DesEncryptText(text, "abd"));
    // The low bit of each key byte is a parity bit the key schedule never reads.
    EXPECT_EQ(DesEncryptText(text, hex("133457799BBCDFF1")),
        DesEncryptText(text, hex("123556789ABDDEF0")));
}

TEST(Des, ZeroPaddingAndHexLength)
{
    const QByteArray key = "k";
    EXPECT_EQ(DesEncryptHex("", key), "");
    EXPECT_EQ(DesDecryptHex("", key), "");
    for (int n = 1; n <= 17; ++n) {
        SCOPED_TRACE(n);
        const QByteArray text(n, 'x');
        const QByteArray h = DesEncryptHex(text, key);
        EXPECT_EQ(h.size(), 16 * ((n + 7) / 8));
        EXPECT_EQ(h, h.toUpper());
        EXPECT_EQ(DesDecryptHex(h, key), text);
    }
    // That the padding is zero bytes is pinned by the independently computed ledger texts.
}

TEST(Des, RefusesTextEndingInZeroByte)
{
    EXPECT_EQ(errorOf([] { DesEncryptText(QByteArray("ab\0", 3), "k"); }),
        "Error: the last char is NULL char.");
    // A zero byte inside the text is fine; only its end would be lost in the padding.
    const QByteArray inner("a\0b", 3);
    EXPECT_EQ(DesDecryptText(DesEncryptText(inner, "k"), "k"), inner);
}

TEST(Des, DecipherDropsAllTrailingZerosAndPartialBlocks)
{
    // Published vectors whose plaintexts end in zero bytes (8000000000000000 and zero).
    EXPECT_EQ(DesDecryptText(hex("95F8A5E5DD31D900"), hex("0101010101010101")), "\x80");
    EXPECT_EQ(DesDecryptText(hex("95A8D72813DAA94D"), hex("8001010101010101")), "");
    EXPECT_EQ(DesDecryptText(hex("95F8A5E5DD31D900") + "xyz", hex("0101010101010101")), "\x80");

    const QByteArray key = "key";
    const QByteArray h = DesEncryptHex("abcd", key);
    EXPECT_EQ(DesDecryptHex(h.toLower(), key), "abcd");
    EXPECT_EQ(DesDecryptHex(h + "F", key), "abcd"); // a last odd digit is ignored
    EXPECT_EQ(DesDecryptHex(h + "ABCD", key), "abcd"); // and so is a partial block
}

TEST(Des, HexTextToInt)
{
    EXPECT_EQ(HexTextToInt(""), 0u);
    EXPECT_EQ(HexTextToInt("0"), 0u);
    EXPECT_EQ(HexTextToInt("ff"), 255u);
    EXPECT_EQ(HexTextToInt("FF"), 255u);
    EXPECT_EQ(HexTextToInt("1A2b"), 0x1A2Bu);
    EXPECT_EQ(HexTextToInt("09"), 9u);
    for (const char *bad : { "G", "1 ", "-1", "0x1", "\xA5" })
        EXPECT_EQ(errorOf([bad] { HexTextToInt(bad); }), "Error: not a Hex String") << bad;
    EXPECT_EQ(errorOf([] { DesDecryptHex("0123456789ABCDEZ", "k"); }), "Error: not a Hex String");
}

TEST(Big5, RoundTripsTraditionalChineseAndAscii)
{
    EXPECT_EQ(big5(QStringLiteral("台北")), hex("A578A55F"));
    EXPECT_EQ(big5(QStringLiteral("帳本")), hex("B162A5BB"));
    for (const QString &text : { QString(), QStringLiteral("ABC 123"), QStringLiteral("青禾理財簿"),
             QStringLiteral("王小明的店－2012"), QStringLiteral("　全形空白") }) {
        EXPECT_EQ(fromBig5(big5(text)), text) << text.toStdString();
    }
}

TEST(Big5, RefusesCharactersItCannotHold)
{
    for (const QString &text : { QStringLiteral("们"), QStringLiteral("한글"), QStringLiteral("a😀"),
             QStringLiteral("ß"), QString(QChar(0xD800)) }) {
        EXPECT_FALSE(toBig5(text).has_value()) << text.toStdString();
    }
}

TEST(Big5, InvalidBytesReadAsReplacementCharacters)
{
    const QString text = fromBig5(QByteArray("A\xFF\xFF"
                                             "B",
        4));
    EXPECT_TRUE(text.startsWith('A'));
    EXPECT_TRUE(text.endsWith('B'));
    EXPECT_TRUE(text.contains(QChar(0xFFFD)));
    // A lead byte cut off at the end.
    EXPECT_EQ(fromBig5(QByteArray("A\xA5", 2)), QStringLiteral("A") + QChar(0xFFFD));
}

TEST(StreamCipher, DeciphersWhatTheInverseEnciphered)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    EXPECT_EQ(
        StreamDecipher(streamEncipher(all), LegacyStartKey, LegacyMultiplier, LegacyIncrement),
        all);
    // The first byte is XORed with bits 8..15 of the start key (47096 = 0xB7F8).
    EXPECT_EQ(StreamDecipher(QByteArray(1, '\0'), 47096, 52640, 62083), QByteArray("\xB7"));
    EXPECT_EQ(StreamDecipher({}, 1, 2, 3), QByteArray());
}

TEST(LedgerText, CurrentFormIsUppercaseDesHexOfBig5Bytes)
{
    // Computed independently (OpenSSL des-ecb, key "hwel83&q").
    EXPECT_EQ(EncodeLedgerText(QStringLiteral("帳本")), "E6E5E2397C8D4643");
    EXPECT_EQ(EncodeLedgerText(QStringLiteral("Shop 2012")), "EC2380EAD88D200C3340D100939DB288");
    EXPECT_EQ(DecodeLedgerText("E6E5E2397C8D4643"), QStringLiteral("帳本"));
    EXPECT_EQ(DecodeLedgerText("e6e5e2397c8d4643"), QStringLiteral("帳本"));

    struct Case
    {
        QString plain;
        int digits;
    };
    const Case cases[] = {
        { QString(), 0 },
        { QStringLiteral("A"), 16 },
        { QStringLiteral("12345678"), 16 },
        { QStringLiteral("123456789"), 32 },
        { QStringLiteral("王小明"), 16 },
        { QStringLiteral("一二三四五六七八"), 32 },
        { QStringLiteral("一二三四五六七八九"), 48 },
    };
    for (const Case &c : cases) {
        const QByteArray stored = EncodeLedgerText(c.plain);
        EXPECT_EQ(stored.size(), c.digits) << c.plain.toStdString();
        EXPECT_EQ(DecodeLedgerText(stored), c.plain);
        EXPECT_TRUE(MatchLedgerText(c.plain, stored));
    }
}

TEST(LedgerText, MatchIsExactAndOnlyOnTheUppercaseForm)
{
    const QByteArray stored = EncodeLedgerText(QStringLiteral("Shop"));
    EXPECT_TRUE(MatchLedgerText(QStringLiteral("Shop"), stored));
    EXPECT_FALSE(MatchLedgerText(QStringLiteral("shop"), stored));
    EXPECT_FALSE(MatchLedgerText(QStringLiteral("Shop "), stored));
    EXPECT_FALSE(MatchLedgerText(QStringLiteral("Shop"), stored.toLower()));
    EXPECT_TRUE(MatchLedgerText(QString(), QByteArray()));
    EXPECT_FALSE(MatchLedgerText(QString(), stored));
    EXPECT_FALSE(MatchLedgerText(QStringLiteral("們"), stored)); // outside Big5: just no match
}

TEST(LedgerText, DamagedLineFailsToDecodeButNeverMatches)
{
    EXPECT_EQ(errorOf([] { DecodeLedgerText("NOT HEX!"); }), "Error: not a Hex String");
    EXPECT_FALSE(MatchLedgerText(QStringLiteral("NOT HEX!"), "NOT HEX!"));
    EXPECT_EQ(DecodeLedgerText(QByteArray()), QString());
}

TEST(LedgerText, EncodeRefusesTextsItCannotStore)
{
    EXPECT_NE(errorOf([] { EncodeLedgerText(QStringLiteral("们的")); }), "(no error)");
    EXPECT_EQ(errorOf([] { EncodeLedgerText(QStringLiteral("ab") + QChar(0)); }),
        "Error: the last char is NULL char.");
}

TEST(LedgerText, LegacyLinesDecodeAndMatch)
{
    const QByteArray line = streamEncipher(big5(QStringLiteral("qa|王小明")));
    EXPECT_EQ(DecodeLedgerText(line), QStringLiteral("王小明"));
    EXPECT_TRUE(MatchLedgerText(QStringLiteral("王小明"), line));
    EXPECT_FALSE(MatchLedgerText(QStringLiteral("王小"), line));

    // Every marker goes, not only the leading one.
    const QByteArray twice = streamEncipher("qa|abqa|cd");
    EXPECT_EQ(DecodeLedgerText(twice), QStringLiteral("abcd"));
    EXPECT_TRUE(MatchLedgerText(QStringLiteral("abcd"), twice));

    // Matching does not need the marker at the start; decoding does.
    const QByteArray unmarked = streamEncipher("xyqa|z");
    EXPECT_TRUE(MatchLedgerText(QStringLiteral("xyz"), unmarked));

    // The marker alone is a legacy empty password.
    EXPECT_EQ(DecodeLedgerText(streamEncipher("qa|")), QString());
    EXPECT_TRUE(MatchLedgerText(QString(), streamEncipher("qa|")));
}
