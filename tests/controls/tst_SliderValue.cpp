// The slider's value model: the three write rules, the order of the notifications and the
// silent rewrites.
#include "controls/SliderValue.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Records every notification of a model as text, with the value at that moment.
class Recorder
{
public:
    explicit Recorder(SliderValue& model)
        : m_model(model)
    {
        QObject::connect(&model, &SliderValue::valueMoved, [this] { note(u"moved"_s); });
        QObject::connect(&model, &SliderValue::Change, [this] { note(u"Change"_s); });
        QObject::connect(&model, &SliderValue::ArrivedLast, [this] { note(u"ArrivedLast"_s); });
        QObject::connect(&model, &SliderValue::ArrivedFirst, [this] { note(u"ArrivedFirst"_s); });
    }

    QStringList take() { return std::exchange(m_events, {}); }

private:
    void note(const QString& what) { m_events << what + u' ' + QString::number(m_model.Value()); }

    SliderValue& m_model;
    QStringList m_events;
};

} // namespace

class tst_SliderValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newModelStartsAtZeroOfTen();
    void valueWrites();
    void minWritesMoveTheValue();
    void maxWritesLeaveTheValue();
    void changeHandlerWritingAgain();
    void loadTakesValuesAsTheyAre();
};

void tst_SliderValue::newModelStartsAtZeroOfTen()
{
    SliderValue model;
    QCOMPARE(model.Min(), 0);
    QCOMPARE(model.Max(), 10);
    QCOMPARE(model.Value(), 0);
    QCOMPARE(model.span(), 10);
    QCOMPARE(model.lastNotified(), 0);
}

void tst_SliderValue::valueWrites()
{
    SliderValue model;
    Recorder events(model);

    QCOMPARE(model.setValue(5), ControlError::None);
    QCOMPARE(events.take(), (QStringList{u"moved 5"_s, u"Change 5"_s}));
    QCOMPARE(model.lastNotified(), 5);

    // The same value again is silent: no thumb placement, no redraw, no Change.
    QCOMPARE(model.setValue(5), ControlError::None);
    QVERIFY(events.take().isEmpty());

    QCOMPARE(model.setValue(10), ControlError::None);
    QCOMPARE(events.take(), (QStringList{u"moved 10"_s, u"Change 10"_s, u"ArrivedLast 10"_s}));
    QCOMPARE(model.setValue(10), ControlError::None);
    QVERIFY(events.take().isEmpty());

    QCOMPARE(model.setValue(0), ControlError::None);
    QCOMPARE(events.take(), (QStringList{u"moved 0"_s, u"Change 0"_s, u"ArrivedFirst 0"_s}));

    QCOMPARE(model.setValue(-1), ControlError::InvalidPropertyValue);
    QCOMPARE(model.setValue(11), ControlError::InvalidPropertyValue);
    QCOMPARE(model.Value(), 0);
    QCOMPARE(model.lastNotified(), 0);
    QVERIFY(events.take().isEmpty());
}

void tst_SliderValue::minWritesMoveTheValue()
{
    SliderValue model;
    QCOMPARE(model.setValue(5), ControlError::None);
    Recorder events(model);

    QCOMPARE(model.setMin(2), ControlError::None);
    QCOMPARE(model.Value(), 2);
    QCOMPARE(model.span(), 8);
    QCOMPARE(events.take(), (QStringList{u"moved 2"_s, u"Change 2"_s, u"ArrivedFirst 2"_s}));

    QCOMPARE(model.setMin(10), ControlError::InvalidPropertyValue);
    QCOMPARE(model.setMin(11), ControlError::InvalidPropertyValue);
    QCOMPARE(model.Min(), 2);
    QCOMPARE(model.Value(), 2);
    QCOMPARE(model.span(), 8);
    QVERIFY(events.take().isEmpty());

    // A value that already stands at the new lower end raises nothing, but the span follows.
    QCOMPARE(model.setValue(4), ControlError::None);
    events.take();
    QCOMPARE(model.setMin(4), ControlError::None);
    QVERIFY(events.take().isEmpty());
    QCOMPARE(model.span(), 6);

    // Lowering Min moves the value down too.
    QCOMPARE(model.setValue(9), ControlError::None);
    events.take();
    QCOMPARE(model.setMin(-3), ControlError::None);
    QCOMPARE(model.Value(), -3);
    QCOMPARE(events.take(), (QStringList{u"moved -3"_s, u"Change -3"_s, u"ArrivedFirst -3"_s}));
}

void tst_SliderValue::maxWritesLeaveTheValue()
{
    SliderValue model;
    QCOMPARE(model.setValue(5), ControlError::None);
    Recorder events(model);

    QCOMPARE(model.setMax(3), ControlError::None);
    QCOMPARE(model.Max(), 3);
    QCOMPARE(model.Value(), 5);
    QCOMPARE(model.span(), 3);
    QVERIFY(events.take().isEmpty());

    QCOMPARE(model.setMax(0), ControlError::InvalidPropertyValue);
    QCOMPARE(model.setMax(-1), ControlError::InvalidPropertyValue);
    QCOMPARE(model.Max(), 3);
    QCOMPARE(model.span(), 3);

    // The value above Max can only come back into the range.
    QCOMPARE(model.setValue(5), ControlError::InvalidPropertyValue);
    QCOMPARE(model.setValue(3), ControlError::None);
    QCOMPARE(events.take(), (QStringList{u"moved 3"_s, u"Change 3"_s, u"ArrivedLast 3"_s}));

    // The widest range does not overflow the span.
    QCOMPARE(model.setMax(std::numeric_limits<int>::max()), ControlError::None);
    QCOMPARE(model.setMin(std::numeric_limits<int>::min()), ControlError::None);
    QCOMPARE(model.span(), qint64(std::numeric_limits<int>::max()) * 2 + 1);
}

void tst_SliderValue::changeHandlerWritingAgain()
{
    SliderValue model;
    Recorder events(model);

    // Writing the value just announced causes nothing.
    int changes = 0;
    auto same = QObject::connect(&model, &SliderValue::Change, [&] {
        ++changes;
        QCOMPARE(model.setValue(model.Value()), ControlError::None);
    });
    QCOMPARE(model.setValue(4), ControlError::None);
    QCOMPARE(changes, 1);
    QObject::disconnect(same);
    events.take();

    // Writing another value causes a nested, complete change; the outer change announces no
    // end that the value has left.
    bool redirected = false;
    auto other = QObject::connect(&model, &SliderValue::Change, [&] {
        if (!std::exchange(redirected, true))
            QCOMPARE(model.setValue(10), ControlError::None);
    });
    QCOMPARE(model.setValue(0), ControlError::None);
    QObject::disconnect(other);
    QCOMPARE(events.take(), (QStringList{u"moved 0"_s, u"Change 0"_s, u"moved 10"_s, u"Change 10"_s,
                                         u"ArrivedLast 10"_s}));
    QCOMPARE(model.Value(), 10);
    QCOMPARE(model.lastNotified(), 10);
}

void tst_SliderValue::loadTakesValuesAsTheyAre()
{
    SliderValue model;
    Recorder events(model);
    model.load(20, 5, 30);
    QVERIFY(events.take().isEmpty());
    QCOMPARE(model.Min(), 20);
    QCOMPARE(model.Max(), 5);
    QCOMPARE(model.Value(), 30);
    QCOMPARE(model.span(), -15);
    QCOMPARE(model.lastNotified(), 30);
    // Such a set rejects every value until its range is mended.
    QCOMPARE(model.setValue(10), ControlError::InvalidPropertyValue);
    QCOMPARE(model.setMin(1), ControlError::None);
    QCOMPARE(model.Value(), 1);
    QCOMPARE(events.take(), (QStringList{u"moved 1"_s, u"Change 1"_s, u"ArrivedFirst 1"_s}));
}

QTEST_GUILESS_MAIN(tst_SliderValue)
#include "tst_SliderValue.moc"
