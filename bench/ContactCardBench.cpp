// The contact card, offscreen. BM_OpenCard: Return on a listed contact until its card is laid out
// and painted, for a contact with 5 fields and with 1,000 (a hostile card must not freeze the
// panel); the targets are 16 ms and 500 ms. A long card paints its first blocks at once and builds
// the rest in batches afterwards: BM_CompleteCard measures Return until the last block is laid out.
// BM_MoveInCard: one arrow move between fields until the card is restyled, scrolled and painted
// again, on the complete card; the target is 8 ms, also with 1,000 fields. BM_OpenCardInPanel: Return
// until the whole panel view, chrome and card, is laid out and painted, as the window shows it.
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/PanelGeometry.hpp"
#include "Dialcove/Views/ContactDetailView.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "tests/Dialcove/Support/FakeContactOutputService.hpp"
#include "tests/Dialcove/Support/FakeContactPermissionService.hpp"
#include "tests/Dialcove/Support/FakeContactRecentStorage.hpp"
#include "tests/Dialcove/Support/FakeContactSessionService.hpp"

#include <QApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

using namespace Dialcove;
using DialcoveCore::Contact;
using DialcoveCore::ContactField;
using DialcoveCore::FieldKind;

namespace {

constexpr int panelWidth = 380;

Contact generated(int fields) {
    std::vector<ContactField> list;
    for (int i = 0; i < fields; ++i) {
        const std::string n = std::to_string(i);
        if (i % 3 == 2)
            list.push_back(
                {DialcoveCore::FieldID("f" + n), FieldKind::email, "work", "person" + n + "@example.com"});
        else if (i % 3 == 1)
            list.push_back({DialcoveCore::FieldID("f" + n), FieldKind::phone, "home",
                            "3456-" + std::to_string(1000 + i % 9000)});
        else
            list.push_back({DialcoveCore::FieldID("f" + n), FieldKind::phone, "mobile",
                            "+55 11 9" + std::to_string(1000 + i % 9000) + "-5678"});
    }
    return {
        DialcoveCore::ContactID("bench"),        "Ana Lima", "Ana", "Lima", "Acme", "Sales", std::move(list),
        DialcoveCore::Birthday::make(4, 7, 1990)};
}

void runUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The panel graph over fakes that answer at once, with `contact` listed.
struct ListedPanel {
    explicit ListedPanel(const Contact& contact) {
        panel = makePanel(
            std::make_shared<ContactSettings>(
                nullptr, DialcoveCore::ContactPreferences{true, DialcoveCore::PhonePlan::brazil,
                                                          DialcoveCore::Shortcut::defaultShortcut()}),
            worker, permission, output, recents);
        panel->open();
        runUntil([&] { return !worker->loads.empty(); });
        worker->loads.back().answer.answer();
        runUntil([&] { return !worker->searches.empty(); });
        worker->searches.back().answer.answer(std::vector{contact});
        runUntil([&] {
            return panel->session().phase() == PanelPhase::list && !panel->navigation().results().empty() &&
                   panel->loadTask() && panel->loadTask()->isFinished();
        });
        if (panel->navigation().results().empty())
            qFatal("the panel never listed the contact: phase %d", int(panel->session().phase()));
    }
    ~ListedPanel() {
        worker->failPending();
        output->failPending();
        QCoreApplication::processEvents();
    }

    std::shared_ptr<FakeContactSessionService> worker = std::make_shared<FakeContactSessionService>();
    std::shared_ptr<FakeContactPermissionService> permission =
        std::make_shared<FakeContactPermissionService>(ContactPermission::allowed);
    std::shared_ptr<FakeContactOutputService> output = std::make_shared<FakeContactOutputService>();
    std::shared_ptr<FakeContactRecentStorage> recents = std::make_shared<FakeContactRecentStorage>();
    std::unique_ptr<ContactsPanel> panel;
};

// A shown, never mapped window at the panel's width for the card to live in.
struct ShownHost {
    ShownHost() {
        host.setAttribute(Qt::WA_DontShowOnScreen);
        host.resize(panelWidth, 900);
        host.show();
    }
    QWidget host;
};

// Lays the card out at the panel's width and paints it.
void layOutAndPaint(QWidget& view, QImage& image) {
    view.resize(panelWidth, view.heightForWidth(panelWidth));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    view.render(&image);
}

void BM_OpenCard(benchmark::State& state) {
    ListedPanel listed(generated(int(state.range(0))));
    ShownHost shown;
    QWidget& host = shown.host;
    QImage image(panelWidth, 900, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        listed.panel->navigation().openSelected();
        if (!listed.panel->navigation().contact()) {
            state.SkipWithError("Return opened no contact");
            break;
        }
        auto* view =
            new ContactDetailView(*listed.panel, *listed.panel->navigation().contact(), 340, {}, &host);
        view->show();
        layOutAndPaint(*view, image);
        state.PauseTiming();
        delete view;
        listed.panel->navigation().backToList();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenCard)->Arg(5)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_OpenCardInPanel(benchmark::State& state) {
    ListedPanel listed(generated(int(state.range(0))));
    PanelGeometry geometry;
    ContactsPanelView view(
        *listed.panel, [] {}, [] {}, geometry, nullptr);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(ContactsPanelView::panelWidth, view.heightForWidth(ContactsPanelView::panelWidth));
    view.show();
    QCoreApplication::processEvents();
    QImage image(ContactsPanelView::panelWidth, 1200, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        listed.panel->navigation().openSelected();
        if (!view.detailView()) {
            state.SkipWithError("Return showed no card");
            break;
        }
        view.resize(ContactsPanelView::panelWidth, view.heightForWidth(ContactsPanelView::panelWidth));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        view.render(&image);
        state.PauseTiming();
        listed.panel->navigation().backToList();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenCardInPanel)->Arg(5)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_CompleteCard(benchmark::State& state) {
    ListedPanel listed(generated(int(state.range(0))));
    ShownHost shown;
    QWidget& host = shown.host;
    QImage image(panelWidth, 900, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        listed.panel->navigation().openSelected();
        auto* view =
            new ContactDetailView(*listed.panel, *listed.panel->navigation().contact(), 340, {}, &host);
        view->show();
        layOutAndPaint(*view, image);
        while (!view->isComplete())
            QCoreApplication::processEvents();
        layOutAndPaint(*view, image);
        state.PauseTiming();
        delete view;
        listed.panel->navigation().backToList();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CompleteCard)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_MoveInCard(benchmark::State& state) {
    ListedPanel listed(generated(int(state.range(0))));
    listed.panel->navigation().openSelected();
    ShownHost shown;
    QWidget& host = shown.host;
    auto* view = new ContactDetailView(*listed.panel, *listed.panel->navigation().contact(), 340, {}, &host);
    view->show();
    QImage image(panelWidth, 900, QImage::Format_ARGB32_Premultiplied);
    layOutAndPaint(*view, image);
    // Moves are measured on the whole card.
    runUntil([&] { return view->isComplete(); });
    layOutAndPaint(*view, image);
    QCoreApplication::processEvents();
    auto direction = DialcoveCore::MoveDirection::next;
    for (auto _ : state) {
        const auto before = listed.panel->navigation().state().detail;
        listed.panel->navigation().move(direction);
        // The scroll request waits for the next turn of the event loop.
        QCoreApplication::processEvents();
        view->render(&image);
        state.PauseTiming();
        if (listed.panel->navigation().state().detail == before)
            direction = direction == DialcoveCore::MoveDirection::next ? DialcoveCore::MoveDirection::previous
                                                                       : DialcoveCore::MoveDirection::next;
        state.ResumeTiming();
    }
    delete view;
}
BENCHMARK(BM_MoveInCard)->Arg(5)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
