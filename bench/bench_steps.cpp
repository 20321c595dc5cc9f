// Speed of what the pupil does most: a step of P with every option on (at
// 100 % and at 200 % zoom), a step back, the repaint of the figure, one mouse
// move while dragging, a change of zoom, and a whole automatic run without
// pauses, a change of language. Prints median and spread over repetitions.
#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "app/form1.h"
#include "lang/texts.h"
#include "platform/qt/bridge.h"

namespace {

Form1* form = nullptr;

// Every option on and a 6-cm block in every column, P on B, at the zoom in
// percent (100 unless the benchmark passes another).
void prepare(int percent = 100)
{
    Form1& f = *form;
    f.window->setZoom(percent / 100.0);
    f.Command1_Click();
    for (int k = 0; k < 5; ++k)
        f.hako[k] = 3;
    f.kokuban->setForeColor(platform::QBColor(14));
    f.Check1->setValue(1);
    f.Check2->setValue(1);
    f.Check3->setValue(1);
    f.Check4->setValue(1);
    f.Command2_Click();
    QCoreApplication::processEvents();
}

void BM_StepForward(benchmark::State& state)
{
    prepare(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (form->px == 100) {
            state.PauseTiming();
            form->Command2_Click();
            state.ResumeTiming();
        }
        form->susumu_Click();
    }
}

void BM_StepBack(benchmark::State& state)
{
    prepare(static_cast<int>(state.range(0)));
    for (int i = 0; i < 20; ++i)
        form->susumu_Click();
    for (auto _ : state) {
        if (form->px == 300) {
            state.PauseTiming();
            for (int i = 0; i < 20; ++i)
                form->susumu_Click();
            state.ResumeTiming();
        }
        form->modoru_Click();
    }
}

void BM_Repaint(benchmark::State& state)
{
    prepare();
    for (int i = 0; i < 7; ++i)
        form->susumu_Click();
    for (auto _ : state)
        form->nuri(static_cast<std::int16_t>(form->px));
}

void BM_DragMove(benchmark::State& state)
{
    prepare();
    QWidget* board = platform::qt::widgetOf(*form->kokuban);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(470, 100), board->mapToGlobal(QPointF(470, 100)), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(board, &press);
    int i = 0;
    for (auto _ : state) {
        const QPointF p(100 + i % 400, 150 + i % 100);
        ++i;
        QMouseEvent move(QEvent::MouseMove, p, board->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(board, &move);
    }
    // Release where nothing changes, so the figure stays as it was.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(470, 350), board->mapToGlobal(QPointF(470, 350)),
                        Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(board, &release);
}

// The cost of the screen update that follows a step: the paint of the changed areas.
void BM_StepAndPaint(benchmark::State& state)
{
    prepare(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (form->px == 100)
            form->Command2_Click();
        form->susumu_Click();
        QCoreApplication::processEvents();
    }
}

// A change of zoom with a whole lesson on screen (figure, grid, trace,
// table), until the new frame is painted: 150 % and 200 % in turn.
void BM_ZoomChange(benchmark::State& state)
{
    prepare(150);
    for (int i = 0; i < 14; ++i)
        form->susumu_Click();
    QWidget* window = platform::qt::widgetOf(*form->window);
    QCoreApplication::processEvents();
    bool larger = true;
    for (auto _ : state) {
        form->window->setZoom(larger ? 2.0 : 1.5);
        larger = !larger;
        QCoreApplication::processEvents();
        window->repaint();
    }
    form->window->setZoom(1);
}

// A change of language with a whole lesson on screen, until the new frame
// is painted: English and Portuguese in turn (Japanese again at the end).
void BM_LanguageChange(benchmark::State& state)
{
    prepare();
    for (int i = 0; i < 14; ++i)
        form->susumu_Click();
    QWidget* window = platform::qt::widgetOf(*form->window);
    QCoreApplication::processEvents();
    bool english = true;
    for (auto _ : state) {
        platform::chooseLanguage(*lang::find(english ? "en" : "pt"));
        english = !english;
        QCoreApplication::processEvents();
        window->repaint();
    }
    platform::chooseLanguage(lang::languages().front());
}

void BM_RunOf20Steps(benchmark::State& state)
{
    prepare();
    form->Combo1->setText(" 0");
    for (auto _ : state) {
        form->Command2_Click();
        form->jidou_Click();
    }
    form->Combo1->setText("50");
}

constexpr int kRepetitions = 10;
BENCHMARK(BM_StepForward)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_StepBack)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_Repaint)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_DragMove)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_StepAndPaint)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_ZoomChange)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_LanguageChange)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_RunOf20Steps)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Form1 f;
    f.Show();
    form = &f;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory of this session: %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
