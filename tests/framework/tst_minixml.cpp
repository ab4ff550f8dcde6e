#include "vrelMiniXML.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <limits>

namespace {

enum TTestColor : quint8 { tcRed, tcGreen, tcBlue };
using TTestColors = TSet<TTestColor>;
const QList<QByteArray> kColorNames{"tcRed", "tcGreen", "tcBlue"};

// An item with a property of every kind the serializer knows. "bool" is spelled
// in lower case and "Int64" has "Int" as its prefix, to show the sorting rule.
class TTestCollectionItem : public TXMLCollectionItem {
public:
    QByteArray ClassName() const override { return "TTestCollectionItem"; }
    const TPropList &GetPropertyList() const override
    {
        using T = TTestCollectionItem;
        static const TPropList list({
            Prop::Variant<&T::FVariant>("Variant"),
            Prop::WideChar<&T::FWChar>("WChar"),
            Prop::Int64<&T::FInt64>("Int64"),
            Prop::Integer<&T::FInt>("Int"),
            Prop::String<&T::FStr>("Str"),
            Prop::Set<&T::FSet>("Set", kColorNames),
            Prop::Other("Other"),
            Prop::Float<&T::FFloat>("Float"),
            Prop::Enumeration<&T::FEnum>("Enum", kColorNames),
            Prop::Char<&T::FChar>("Char"),
            Prop::Boolean<&T::FBool>("bool"),
            guarded(),
        });
        return list;
    }
    void AfterParse() override { ++AfterParseCalls; }

    qint32 FInt = 7;
    qint64 FInt64 = 0;
    char FChar = 'A';
    char16_t FWChar = u'B';
    TTestColor FEnum = tcGreen;
    bool FBool = false;
    double FFloat = 1.5;
    QString FStr = QStringLiteral("def");
    TTestColors FSet{tcRed};
    QVariant FVariant;
    QString FGuarded;
    int AfterParseCalls = 0;

private:
    // A string property whose setter refuses the text "boom".
    static TPropInfo guarded()
    {
        TPropInfo p = Prop::String<&TTestCollectionItem::FGuarded>("Guarded");
        p.SetStr = [](TXMLCollectionItem &i, const QString &v) {
            if (v == u"boom")
                throw ERangeError();
            static_cast<TTestCollectionItem &>(i).FGuarded = v;
        };
        return p;
    }
};

class TTestCollection : public TXMLCollection {
public:
    QByteArray ClassName() const override { return "TTestCollection"; }
    // Records, for each item line read, whether AfterParse had run already.
    void ItemParsed(TXMLCollectionItem &item) override
    {
        Parsed << static_cast<TTestCollectionItem &>(item).AfterParseCalls;
    }
    QList<int> Parsed;
    TTestCollectionItem *Add() { return static_cast<TTestCollectionItem *>(TXMLCollection::Add()); }
    TTestCollectionItem *Items(qsizetype index) const
    {
        return static_cast<TTestCollectionItem *>(TXMLCollection::Items(index));
    }

protected:
    std::unique_ptr<TXMLCollectionItem> NewItem() const override
    {
        return std::make_unique<TTestCollectionItem>();
    }
};

// Items of the same class under another collection class.
class TOtherTestCollection : public TTestCollection {
public:
    QByteArray ClassName() const override { return "TOtherTestCollection"; }
};

const TPropInfo &prop(const TXMLCollectionItem &item, QByteArrayView name)
{
    const TPropInfo *p = item.GetPropertyList().Find(name);
    if (!p)
        qFatal("no property %s", name.data());
    return *p;
}

QList<int> ints(const TTestCollection &c)
{
    QList<int> result;
    for (qsizetype i = 0; i < c.Count(); ++i)
        result << c.Items(i)->FInt;
    return result;
}

QString listError(qsizetype index)
{
    return QStringLiteral("List index out of bounds (%1)").arg(index);
}

} // namespace

class TestMiniXML : public QObject {
    Q_OBJECT
private slots:
    void propertiesAreSortedByNameWithoutRegardToCase()
    {
        TTestCollectionItem item;
        QList<QByteArray> names;
        for (const TPropInfo &p : item.GetPropertyList().Items())
            names << p.Name;
        QCOMPARE(names, (QList<QByteArray>{"bool", "Char", "Enum", "Float", "Guarded", "Int", "Int64",
                                           "Other", "Set", "Str", "Variant", "WChar"}));
    }

    void propertyLookupIgnoresCase_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("found");
        QTest::newRow("as declared") << QByteArray("Int64") << QByteArray("Int64");
        QTest::newRow("upper") << QByteArray("INT") << QByteArray("Int");
        QTest::newRow("lower") << QByteArray("bool") << QByteArray("bool");
        QTest::newRow("mixed") << QByteArray("BoOl") << QByteArray("bool");
        QTest::newRow("prefix only") << QByteArray("In") << QByteArray();
        QTest::newRow("longer") << QByteArray("Int6") << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void propertyLookupIgnoresCase()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, found);
        TTestCollectionItem item;
        const TPropInfo *p = item.GetPropertyList().Find(name);
        QCOMPARE(p ? p->Name : QByteArray(), found);
    }

    void elementStem_data()
    {
        QTest::addColumn<QByteArray>("className");
        QTest::addColumn<QByteArray>("stem");
        QTest::newRow("item class") << QByteArray("TMenuCollectionItem") << QByteArray("Menu");
        QTest::newRow("collection class") << QByteArray("TMenuCollection") << QByteArray("Menu");
        QTest::newRow("no Collection") << QByteArray("TMenuItem") << QByteArray();
        QTest::newRow("Collection right after the first character") << QByteArray("TCollectionItem")
                                                                     << QByteArray();
        QTest::newRow("Collection at the start") << QByteArray("CollectionItem") << QByteArray();
        QTest::newRow("first occurrence counts") << QByteArray("TACollectionBCollection") << QByteArray("A");
        QTest::newRow("case matters") << QByteArray("TMenucollection") << QByteArray();
    }
    void elementStem()
    {
        QFETCH(QByteArray, className);
        QFETCH(QByteArray, stem);
        QCOMPARE(ElementStem(className), stem);
    }

    void elementNamesComeFromTheClassNames()
    {
        TTestCollection c;
        QCOMPARE(c.DTDName(), QByteArray("Test-list"));
        QCOMPARE(c.Add()->GetElementName(), QByteArray("Test"));
    }

    void defaultsAsText_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << QByteArray("Int") << "7";
        QTest::newRow("int64") << QByteArray("Int64") << "0";
        QTest::newRow("char") << QByteArray("Char") << "A";
        QTest::newRow("wide char") << QByteArray("WChar") << "B";
        QTest::newRow("enumeration") << QByteArray("Enum") << "tcGreen";
        QTest::newRow("boolean") << QByteArray("bool") << "False";
        QTest::newRow("float") << QByteArray("Float") << "1.5";
        QTest::newRow("string") << QByteArray("Str") << "def";
        QTest::newRow("set") << QByteArray("Set") << "[tcRed]";
        QTest::newRow("variant") << QByteArray("Variant") << "";
        QTest::newRow("other") << QByteArray("Other") << "";
    }
    void defaultsAsText()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, text);
        TTestCollectionItem item;
        QCOMPARE(PropertyToText(item, prop(item, name)), text);
    }

    // TextToProperty, seen through PropertyToText: `ok` tells whether the text
    // was taken; when it was not, the property keeps its previous value.
    void textToProperty_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("result");
        auto row = [](const char *tag, const char *name, const QByteArray &text, bool ok, const QString &result) {
            QTest::newRow(tag) << QByteArray(name) << text << ok << result;
        };
        row("int: decimal", "Int", "42", true, "42");
        row("int: negative", "Int", "-42", true, "-42");
        row("int: plus sign", "Int", "+42", true, "42");
        row("int: leading blanks", "Int", "   -5", true, "-5");
        row("int: leading zeros", "Int", "007", true, "7");
        row("int: $ hex", "Int", "$1F", true, "31");
        row("int: 0x hex", "Int", "0x1f", true, "31");
        row("int: 0X hex", "Int", "0X1F", true, "31");
        row("int: negative hex", "Int", "-$10", true, "-16");
        row("int: hex all bits", "Int", "$FFFFFFFF", true, "-1");
        row("int: largest", "Int", "2147483647", true, "2147483647");
        row("int: smallest", "Int", "-2147483648", true, "-2147483648");
        row("int: overflow", "Int", "2147483648", false, "7");
        row("int: negative overflow", "Int", "-2147483649", false, "7");
        row("int: hex overflow", "Int", "$100000000", false, "7");
        row("int: garbage", "Int", "abc", false, "7");
        row("int: trailing garbage", "Int", "12abc", false, "7");
        row("int: trailing blank", "Int", "12 ", false, "7");
        row("int: blank after sign", "Int", "- 5", false, "7");
        row("int: sign only", "Int", "-", false, "7");
        row("int: $ only", "Int", "$", false, "7");
        row("int: empty", "Int", "", false, "7");
        row("int: decimal point", "Int", "1.5", false, "7");
        row("int64: largest", "Int64", "9223372036854775807", true, "9223372036854775807");
        row("int64: smallest", "Int64", "-9223372036854775808", true, "-9223372036854775808");
        row("int64: overflow", "Int64", "9223372036854775808", false, "0");
        row("int64: hex", "Int64", "$7FFFFFFFFFFFFFFF", true, "9223372036854775807");
        row("int64: hex all bits", "Int64", "0xFFFFFFFFFFFFFFFF", true, "-1");
        row("int64: garbage", "Int64", "x", false, "0");
        row("char: first byte", "Char", "xyz", true, "x");
        row("char: empty", "Char", "", false, "A");
        row("wide char: first byte", "WChar", "qrs", true, "q");
        row("wide char: empty", "WChar", "", false, "B");
        row("enum: member", "Enum", "tcBlue", true, "tcBlue");
        row("enum: other case", "Enum", "TCBLUE", true, "tcBlue");
        row("enum: not a member", "Enum", "tcPurple", false, "tcGreen");
        row("enum: ordinal", "Enum", "2", false, "tcGreen");
        row("enum: empty", "Enum", "", false, "tcGreen");
        row("enum: blank before", "Enum", " tcBlue", false, "tcGreen");
        row("bool: True", "bool", "True", true, "True");
        row("bool: other case", "bool", "TRUE", true, "True");
        row("bool: number", "bool", "1", false, "False");
        row("bool: empty", "bool", "", false, "False");
        row("float: fraction", "Float", "2.25", true, "2.25");
        row("float: negative", "Float", "-0.5", true, "-0.5");
        row("float: exponent", "Float", "1e20", true, "1E20");
        row("float: blanks", "Float", " 3 ", true, "3");
        row("float: infinity", "Float", "INF", true, "INF");
        row("float: negative infinity", "Float", "-INF", true, "-INF");
        row("float: not a number", "Float", "NAN", true, "NAN");
        row("float: out of range", "Float", "1e999", false, "1.5");
        row("float: comma", "Float", "2,25", false, "1.5");
        row("float: garbage", "Float", "abc", false, "1.5");
        row("float: empty", "Float", "", false, "1.5");
        row("string: text", "Str", "abc", true, "abc");
        row("string: empty", "Str", "", true, "");
        row("string: code page", "Str", QByteArray::fromHex("B0EDB0B4"), true, u"고객"_qs);
        row("string: markup kept", "Str", "a<b>&amp;", true, "a<b>&amp;");
        row("set: one member", "Set", "[tcBlue]", true, "[tcBlue]");
        row("set: empty brackets", "Set", "[]", true, "[]");
        row("set: empty text", "Set", "", true, "[]");
        row("set: ordinal order", "Set", "[tcBlue,tcRed]", true, "[tcRed,tcBlue]");
        row("set: case and blanks", "Set", "  [ TCGREEN ,  tcblue ]", true, "[tcGreen,tcBlue]");
        row("set: without brackets", "Set", "tcGreen", true, "[tcGreen]");
        row("set: runs of separators", "Set", "[tcRed,,]]tcBlue]", true, "[tcRed,tcBlue]");
        row("set: not a member", "Set", "[tcBlue,tcNothing]", false, "[tcRed]");
        row("variant: text", "Variant", "hello", true, "hello");
        row("variant: code page", "Variant", QByteArray::fromHex("B0EDB0B4"), true, u"고객"_qs);
        row("other: ignored", "Other", "anything", false, "");
    }
    void textToProperty()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, text);
        QFETCH(bool, ok);
        QFETCH(QString, result);
        TTestCollectionItem item;
        const TPropInfo &p = prop(item, name);
        QCOMPARE(TextToProperty(item, p, text), ok);
        QCOMPARE(PropertyToText(item, p), result);
    }

    void floatText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("integral") << 42.0 << "42";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("15 significant digits") << 1.0 / 3 << "0.333333333333333";
        QTest::newRow("rounded to 15 digits") << 2.0 / 3 << "0.666666666666667";
        QTest::newRow("binary fraction noise removed") << 0.1 + 0.2 << "0.3";
        QTest::newRow("15 digits before the point") << 123456789012345.0 << "123456789012345";
        QTest::newRow("16 digits before the point") << 1234567890123456.0 << "1.23456789012346E15";
        QTest::newRow("large") << 1e20 << "1E20";
        QTest::newRow("large negative") << -1.5e300 << "-1.5E300";
        QTest::newRow("small fixed") << 0.0001 << "0.0001";
        QTest::newRow("very small") << 1.5e-7 << "1.5E-7";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "NAN";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "INF";
        QTest::newRow("negative infinity") << -std::numeric_limits<double>::infinity() << "-INF";
    }
    void floatText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        TTestCollectionItem item;
        item.FFloat = value;
        QCOMPARE(PropertyToText(item, prop(item, "Float")), text);
    }

    void charactersAndVariantsAsText()
    {
        TTestCollectionItem item;
        item.FChar = char(0xB0); // a lone lead byte of the code page
        item.FWChar = u'가';
        item.FVariant = 12;
        QCOMPARE(PropertyToText(item, prop(item, "WChar")), u"가"_qs);
        QCOMPARE(PropertyToText(item, prop(item, "Variant")), u"12"_qs);
        const QByteArray line = item.Entity();
        QVERIFY(line.contains(QByteArray("<Char>\xB0</Char>")));
        QVERIFY(line.contains(QByteArray("<WChar>\xB0\xA1</WChar>")));
    }

    void entityIsOneLineInPropertyOrder()
    {
        TTestCollectionItem item;
        item.FStr = u"[1000] 고객"_qs;
        QCOMPARE(item.Entity(),
                 QByteArray("  <Test><bool>False</bool><Char>A</Char><Enum>tcGreen</Enum><Float>1.5</Float>"
                            "<Guarded></Guarded><Int>7</Int><Int64>0</Int64><Other></Other><Set>[tcRed]</Set>"
                            "<Str>[1000] \xB0\xED\xB0\xB4</Str><Variant></Variant><WChar>B</WChar></Test>"));
    }

    void entityReadsBack()
    {
        TTestCollectionItem source;
        source.FInt = -3;
        source.FInt64 = Q_INT64_C(-9000000000);
        source.FChar = 'z';
        source.FWChar = u'w';
        source.FEnum = tcBlue;
        source.FBool = true;
        source.FFloat = 0.125;
        source.FStr = u"고객 A<B"_qs;
        source.FSet = TTestColors{tcGreen, tcBlue};
        source.FVariant = u"v"_qs;
        source.FGuarded = u"g"_qs;
        TTestCollectionItem copy;
        copy.ParseXML(source.Entity());
        QCOMPARE(copy.Entity(), source.Entity());
        QCOMPARE(copy.FStr, source.FStr);
        QCOMPARE(copy.FSet, source.FSet);
    }

    // ParseXML's search rules, on one line each; the defaults are Int 7 and
    // Str "def".
    void parseXML_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("intValue");
        QTest::addColumn<QString>("strValue");
        auto row = [](const char *tag, const QByteArray &line, int i, const QString &s) {
            QTest::newRow(tag) << line << i << s;
        };
        row("item line", "  <Test><Int>5</Int><Str>x</Str></Test>", 5, "x");
        row("tag in other case", "<int>5</int><STR>x</STR>", 5, "x");
        row("closing tag in other case", "<int>5</Int>", 7, "def");
        row("unknown element", "<Foo>1</Foo><Int>2</Int>", 2, "def");
        row("less-than in a value", "<Str>A<B</Str><Int>3</Int>", 3, "A<B");
        row("value holding its own closing tag", "<Str>a</Str>b</Str>", 7, "a");
        row("missing closing tag", "<Str>abc", 7, "");
        row("missing closing tag, integer", "<Int>5", 7, "def");
        row("closing tag directly follows", "<Str></Str><Int></Int>", 7, "");
        row("element inside a value", "<Str><Int>5</Int></Str>", 5, "<Int>5</Int>");
        row("later element wins", "<Str>x</Str><Str>y</Str>", 7, "y");
        row("closing tags are passed over", "</Int>5<Int>6</Int>", 6, "def");
        row("blank in the closing tag", "<Str>x</Str >", 7, "");
        row("blank in the tag name", "< Int>5</ Int>", 7, "def");
        row("no greater-than", "<Int", 7, "def");
        row("less-than at the end", "<Int>1</Int><", 1, "def");
        // Searches for a closing tag that reach far are remembered; these
        // rows read the same as the short ones.
        const QByteArray far(1000, 'x');
        row("far closing tag", "<Str>" + far + "</Str><Int>4</Int>", 4, QString::fromLatin1(far));
        row("same tag twice, one far closing tag", "<Str>a<Str>" + far + "</Str>", 7,
            QString::fromLatin1(far));
        row("same tag twice, no closing tag", "<Int>1<Int>2" + far, 7, "def");
        row("far closing tag in other case", "<Str>a<str>" + far + "</Str><str>b</str>", 7, "b");
        row("far closing tag passed, next one near", "<Str>" + far + "</Str><Str>c</Str>", 7, "c");
        row("far closing tag passed, next one far",
            "<Str>" + far + "</Str><Str>" + far + "y</Str>", 7, QString::fromLatin1(far + "y"));
        row("empty line", "", 7, "def");
        row("text without elements", "just text", 7, "def");
    }
    void parseXML()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, intValue);
        QFETCH(QString, strValue);
        TTestCollectionItem item;
        item.ParseXML(line);
        QCOMPARE(item.FInt, intValue);
        QCOMPARE(item.FStr, strValue);
        QCOMPARE(item.AfterParseCalls, 1);
    }

    // Random lines of tags, closing tags and long fillers read exactly as the
    // search rules say, step by step, on a plain string.
    void parseXMLFollowsTheSearchRules()
    {
        const QByteArray tokens[] = {"<Str>", "</Str>", "<str>", "</str>", "<Int>", "</Int>", "<INT>",
                                     "</INT>", "<Foo>", "</Foo>", "<", ">", "</", "1", "23", "-4",
                                     QByteArray(300, 'x'), QByteArray(40, 'y')};
        QRandomGenerator generator(2024);
        for (int round = 0; round < 3000; ++round) {
            QByteArray line;
            const int length = generator.bounded(1, 25);
            for (int i = 0; i < length; ++i)
                line += tokens[generator.bounded(int(std::size(tokens)))];

            // The rules: find the next "<" not followed by "/", its tag name up
            // to the next ">", the text up to the first "</" name ">" after it;
            // go on from just after the opening tag.
            int expectedInt = 7;
            QString expectedStr = u"def"_qs;
            const std::string l = line.toStdString();
            size_t pos = 0;
            for (;;) {
                size_t lt = l.find('<', pos);
                while (lt != std::string::npos && lt + 1 < l.size() && l[lt + 1] == '/')
                    lt = l.find('<', lt + 1);
                if (lt == std::string::npos)
                    break;
                const size_t gt = l.find('>', lt + 1);
                if (gt == std::string::npos)
                    break;
                const std::string name = l.substr(lt + 1, gt - lt - 1);
                const size_t close = l.find("</" + name + ">", gt + 1);
                const std::string text = close == std::string::npos ? std::string() : l.substr(gt + 1, close - gt - 1);
                if (QByteArray::fromStdString(name).toLower() == "str") {
                    expectedStr = QString::fromStdString(text);
                } else if (QByteArray::fromStdString(name).toLower() == "int") {
                    bool ok = false;
                    const int v = QByteArray::fromStdString(text).toInt(&ok);
                    if (ok)
                        expectedInt = v;
                }
                pos = gt + 1;
            }

            TTestCollectionItem item;
            item.ParseXML(line);
            QVERIFY2(item.FInt == expectedInt && item.FStr == expectedStr, line.constData());
        }
    }

    void failureWhileAssigningIsSwallowed()
    {
        TTestCollectionItem item;
        item.FGuarded = u"kept"_qs;
        item.ParseXML("<Guarded>boom</Guarded><Int>3</Int>");
        QCOMPARE(item.FGuarded, u"kept"_qs);
        QCOMPARE(item.FInt, 3);
        item.ParseXML("<Guarded>fine</Guarded>");
        QCOMPARE(item.FGuarded, u"fine"_qs);
    }

    void splitLines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QByteArray>>("lines");
        using L = QList<QByteArray>;
        QTest::newRow("empty") << QByteArray() << L{};
        QTest::newRow("no break") << QByteArray("a") << L{"a"};
        QTest::newRow("CR LF") << QByteArray("a\r\nb") << L{"a", "b"};
        QTest::newRow("lone CR") << QByteArray("a\rb") << L{"a", "b"};
        QTest::newRow("lone LF") << QByteArray("a\nb") << L{"a", "b"};
        QTest::newRow("break at the end") << QByteArray("a\r\n") << L{"a"};
        QTest::newRow("only a break") << QByteArray("\r\n") << L{""};
        QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << L{"a", "", "b"};
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << L{"a", "", "b"};
        QTest::newRow("two breaks at the end") << QByteArray("a\n\n") << L{"a", ""};
        QTest::newRow("mixed") << QByteArray("a\rb\nc\r\nd") << L{"a", "b", "c", "d"};
    }
    void splitLines()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<QByteArray>, lines);
        QList<QByteArray> result;
        for (QByteArrayView line : SplitLines(text))
            result << line.toByteArray();
        QCOMPARE(result, lines);
    }

    // Assigning XML: the first two lines and the last are ignored, every line
    // between them is one item.
    void setXML_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<int>>("items");
        using L = QList<int>;
        QTest::newRow("empty text") << QByteArray() << L{};
        QTest::newRow("frame only") << QByteArray("h\r\n<Test-list>\r\n</Test-list>") << L{};
        QTest::newRow("three lines, one like an item")
            << QByteArray("h\r\n<Int>1</Int>\r\n</Test-list>") << L{};
        QTest::newRow("one item") << QByteArray("h\r\nl\r\n<Int>1</Int>\r\ne") << L{1};
        QTest::newRow("break at the end") << QByteArray("h\r\nl\r\n<Int>1</Int>\r\ne\r\n") << L{1};
        QTest::newRow("two breaks at the end")
            << QByteArray("h\r\nl\r\n<Int>1</Int>\r\ne\r\n\r\n") << L{1, 7};
        QTest::newRow("extra empty line") << QByteArray("h\r\nl\r\n<Int>1</Int>\r\n\r\ne") << L{1, 7};
        QTest::newRow("lone CR") << QByteArray("h\rl\r<Int>1</Int>\r<Int>2</Int>\re") << L{1, 2};
        QTest::newRow("lone LF") << QByteArray("h\nl\n<Int>1</Int>\n<Int>2</Int>\ne") << L{1, 2};
        QTest::newRow("frame lines are not read")
            << QByteArray("<Int>1</Int>\r\n<Int>2</Int>\r\n<Int>3</Int>\r\n<Int>4</Int>") << L{3};
    }
    void setXML()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<int>, items);
        TTestCollection c;
        c.Add()->FInt = 99; // replaced in every case
        c.SetXML(text);
        QCOMPARE(ints(c), items);
        QCOMPARE(c.Parsed, QList<int>(items.size(), 1));
        for (qsizetype i = 0; i < c.Count(); ++i) {
            QCOMPARE(c.Items(i)->Index(), i);
            QCOMPARE(c.Items(i)->Collection(), &c);
            QCOMPARE(c.Items(i)->AfterParseCalls, 1);
        }
    }

    void wholeText()
    {
        TTestCollection c;
        QCOMPARE(c.XML(), QByteArray("<?xml version = \"1.0\" ?>\r\n<Test-list>\r\n</Test-list>"));
        c.Add()->FInt = 1;
        c.Add()->FStr = u"고객"_qs;
        const QByteArray text = c.XML();
        QCOMPARE(text, "<?xml version = \"1.0\" ?>\r\n<Test-list>\r\n" + c.Items(0)->Entity() + "\r\n"
                           + c.Items(1)->Entity() + "\r\n</Test-list>");
        TTestCollection copy;
        copy.SetXML(text);
        QCOMPARE(copy.XML(), text);
    }

    void itemsOutsideTheListFail_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("negative") << -1;
        QTest::newRow("count") << 3;
        QTest::newRow("far beyond") << 1000;
    }
    void itemsOutsideTheListFail()
    {
        QFETCH(int, index);
        TTestCollection c;
        for (int i = 0; i < 3; ++i)
            c.Add()->FInt = i;
        auto expectListError = [&](auto &&operation) {
            try {
                operation();
                QFAIL("no error raised");
            } catch (const EListError &e) {
                QCOMPARE(e.Message(), listError(index));
            }
        };
        expectListError([&] { c.Items(index); });
        expectListError([&] { c.Delete(index); });
        expectListError([&] { c.Extract(index); });
        QCOMPARE(ints(c), (QList<int>{0, 1, 2}));
    }

    void insertPastTheEndFails()
    {
        TTestCollection c;
        c.Add();
        try {
            c.Insert(2, std::make_unique<TTestCollectionItem>());
            QFAIL("no error raised");
        } catch (const EListError &e) {
            QCOMPARE(e.Message(), listError(2));
        }
        QCOMPARE(c.Count(), 1);
    }

    void indexesFollowDeleteExtractAndInsert()
    {
        TTestCollection c;
        for (int i = 0; i < 5; ++i)
            c.Add()->FInt = i;
        c.Delete(1);
        QCOMPARE(ints(c), (QList<int>{0, 2, 3, 4}));
        std::unique_ptr<TXMLCollectionItem> taken = c.Extract(0);
        QCOMPARE(taken->Collection(), nullptr);
        QCOMPARE(taken->Index(), -1);
        QCOMPARE(ints(c), (QList<int>{2, 3, 4}));
        TXMLCollectionItem *moved = taken.get();
        c.Insert(2, std::move(taken));
        QCOMPARE(ints(c), (QList<int>{2, 3, 0, 4}));
        QCOMPARE(moved->Collection(), &c);
        c.Insert(4, std::make_unique<TTestCollectionItem>());
        QCOMPARE(ints(c), (QList<int>{2, 3, 0, 4, 7}));
        for (qsizetype i = 0; i < c.Count(); ++i)
            QCOMPARE(c.Items(i)->Index(), i);
        c.Clear();
        QCOMPARE(c.Count(), 0);
    }

    void manyItemsOutAndBackInOnePass()
    {
        TTestCollection c;
        for (int i = 0; i < 6; ++i)
            c.Add()->FInt = i;
        const std::vector<qsizetype> indexes{0, 2, 3, 5};
        std::vector<std::unique_ptr<TXMLCollectionItem>> taken = c.ExtractItems(indexes);
        QCOMPARE(ints(c), (QList<int>{1, 4}));
        QCOMPARE(taken.size(), size_t(4));
        QCOMPARE(static_cast<TTestCollectionItem *>(taken[1].get())->FInt, 2);
        QCOMPARE(taken[3]->Collection(), nullptr);
        QCOMPARE(c.Items(1)->Index(), 1);
        c.InsertItems(indexes, std::move(taken));
        QCOMPARE(ints(c), (QList<int>{0, 1, 2, 3, 4, 5}));
        for (qsizetype i = 0; i < c.Count(); ++i) {
            QCOMPARE(c.Items(i)->Index(), i);
            QCOMPARE(c.Items(i)->Collection(), &c);
        }
        // Indexes out of order or outside the list change nothing.
        for (const std::vector<qsizetype> &bad : {std::vector<qsizetype>{3, 1}, std::vector<qsizetype>{6}}) {
            try {
                c.ExtractItems(bad);
                QFAIL("no error raised");
            } catch (const EListError &) {
            }
            QCOMPARE(ints(c), (QList<int>{0, 1, 2, 3, 4, 5}));
        }
    }

    void takeItemsMovesEveryItemToTheEnd()
    {
        TTestCollection c, source;
        c.Add()->FInt = 0;
        for (int i = 1; i < 4; ++i)
            source.Add()->FInt = i;
        const TTestCollectionItem *moved = source.Items(2);
        c.TakeItems(source);
        QCOMPARE(source.Count(), 0);
        QCOMPARE(ints(c), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(c.Items(3), moved);
        for (qsizetype i = 0; i < c.Count(); ++i) {
            QCOMPARE(c.Items(i)->Index(), i);
            QCOMPARE(c.Items(i)->Collection(), &c);
        }
        QCOMPARE(moved->AfterParseCalls, 0);
        c.TakeItems(c);
        QCOMPARE(c.Count(), 4);
        // Another collection class is refused, and nothing moves.
        TOtherTestCollection other;
        other.Add();
        try {
            c.TakeItems(other);
            QFAIL("no error raised");
        } catch (const EConvertError &e) {
            QCOMPARE(e.Message(), u"Cannot assign a TOtherTestCollection to a TTestCollection"_qs);
        }
        QCOMPARE(other.Count(), 1);
        QCOMPARE(c.Count(), 4);
    }

    void baseAssignRefusesEverySource()
    {
        TTestCollectionItem target, source;
        try {
            target.Assign(source);
            QFAIL("no error raised");
        } catch (const EConvertError &e) {
            QCOMPARE(e.Message(), u"Cannot assign a TTestCollectionItem to a TTestCollectionItem"_qs);
        }
    }
};

QTEST_GUILESS_MAIN(TestMiniXML)
#include "tst_minixml.moc"
