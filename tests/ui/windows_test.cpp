// The numeric field widget over the core's coupling, the modal dialog mechanism, the splash
// window with its timer, and the main window after start-up.
#include "UiTestSupport.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Editor.h"
#include "form/NumericCoupling.h"
#include "support/TestSupport.h"
#include "ui/Bindings.h"
#include "ui/MainWindow.h"
#include "ui/NumericFieldWidget.h"
#include "ui/QtDialogs.h"
#include "ui/SplashWindow.h"

namespace tolvane::ui {
namespace {

struct NumericWidgetTest : ::testing::Test {
    test::TempDir dir;
    platform::FileSystem fs{dir.path()};
    test::ScriptedDialogs dialogs;
    platform::NullProgress progress;
    AppState state;
    Context ctx{fs, dialogs, progress, state};
    form::NumericField field{"KnifeLimit", "40", 255, 5};
    QWidget window;
    NumericFieldWidget* widget = nullptr;

    void SetUp() override {
        form::CoupleNumericField(ctx.showMessage(), field);
        widget = new NumericFieldWidget(&window);
        new QVBoxLayout(&window);
        window.layout()->addWidget(widget);
        widget->bind(BindingsOf(&window), field);
        window.show();
    }
};

TEST_F(NumericWidgetTest, ArrowsStepBySmallChangeAndStopAtTheBounds) {
    EXPECT_EQ(widget->lineEdit()->text(), QStringLiteral("40"));
    EXPECT_EQ(widget->lineEdit()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    widget->upButton()->click();
    EXPECT_EQ(field.text(), "45");
    EXPECT_EQ(widget->lineEdit()->text(), QStringLiteral("45"));
    widget->downButton()->click();
    widget->downButton()->click();
    EXPECT_EQ(widget->lineEdit()->text(), QStringLiteral("35"));

    // The arrow keys in the box step as well.
    test::PressKey(widget->lineEdit(), Qt::Key_Up);
    EXPECT_EQ(field.text(), "40");

    field.setText("255");
    widget->upButton()->click();
    EXPECT_EQ(field.text(), "255");
    field.setText("3");
    widget->downButton()->click();
    EXPECT_EQ(field.text(), "0");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(NumericWidgetTest, TypingAboveTheBoundShowsTheBoundSelected) {
    widget->lineEdit()->selectAll();
    test::Type(widget->lineEdit(), QStringLiteral("300"));
    ASSERT_EQ(dialogs.texts(), std::vector<std::string>{"The maximum value is 255"});
    EXPECT_EQ(widget->lineEdit()->text(), QStringLiteral("255"));
    EXPECT_EQ(widget->lineEdit()->selectedText(), QStringLiteral("255"));
    EXPECT_EQ(field.scroll.value(), 255);
}

TEST_F(NumericWidgetTest, ArrowAfterTextThatIsNoNumberRewritesTheBox) {
    widget->lineEdit()->selectAll();
    test::Type(widget->lineEdit(), QStringLiteral("abc"));
    EXPECT_EQ(field.scroll.value(), 40);
    widget->upButton()->click();
    EXPECT_EQ(widget->lineEdit()->text(), QStringLiteral("45"));
    EXPECT_EQ(widget->lineEdit()->selectedText(), QStringLiteral("45"));
}

// A dialog model whose OK button hides it and whose frame refuses to close until allowed.
struct AskDialog : platform::DialogModel {
    form::TextBox Answer{"Answer"};
    form::Button ButtonOK{"ButtonOK"};
    bool frameMayClose = false;
    int frameCloses = 0;
    AskDialog() { ButtonOK.clicked.attach([this] { hide(); }); }
    void closedByFrame() override {
        ++frameCloses;
        if (frameMayClose) hide();
    }
    std::string title() const override { return "Ask"; }
};

struct ModalTest : ::testing::Test {
    QtDialogs dialogs;
    QDialog* shown = nullptr;
    QLineEdit* answer = nullptr;
    QPushButton* ok = nullptr;
    void SetUp() override {
        dialogs.registerDialog<AskDialog>([this](AskDialog& model, QWidget* parent) {
            auto window = std::make_unique<QDialog>(parent);
            auto* layout = new QVBoxLayout(window.get());
            answer = new QLineEdit;
            ok = new QPushButton(QStringLiteral("OK"));
            layout->addWidget(answer);
            layout->addWidget(ok);
            bindTextBox(BindingsOf(window.get()), answer, model.Answer);
            bindButton(BindingsOf(window.get()), ok, model.ButtonOK);
            shown = window.get();
            return window;
        });
    }
};

TEST_F(ModalTest, RunsUntilTheModelHidesItself) {
    AskDialog model;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(shown->windowTitle(), QStringLiteral("Ask"));
        test::Type(answer, QStringLiteral("ctf"));
        ok->click();
    });
    dialogs.showModal(model);
    EXPECT_FALSE(model.visible());
    EXPECT_EQ(model.Answer.text(), "ctf");
    EXPECT_EQ(model.frameCloses, 0);
}

TEST_F(ModalTest, FrameCloseAsksTheModel) {
    AskDialog model;
    QTimer::singleShot(0, [&] {
        shown->close();  // refused: the dialog stays
        EXPECT_TRUE(shown->isVisible());
        model.frameMayClose = true;
        shown->close();
    });
    dialogs.showModal(model);
    EXPECT_FALSE(model.visible());
    EXPECT_EQ(model.frameCloses, 2);
}

TEST_F(ModalTest, EscapeGoesThroughTheModelAsAFrameClose) {
    AskDialog model;
    QTimer::singleShot(0, [&] {
        test::PressKey(shown, Qt::Key_Escape);
        EXPECT_TRUE(shown->isVisible());  // the model refused
        model.frameMayClose = true;
        test::PressKey(shown, Qt::Key_Escape);
    });
    dialogs.showModal(model);
    EXPECT_FALSE(model.visible());
    EXPECT_EQ(model.frameCloses, 2);
}

TEST(Modal, AModelWithoutAWindowIsClosedAtOnce) {
    QtDialogs dialogs;
    AskDialog model;
    model.frameMayClose = true;
    dialogs.showModal(model);
    EXPECT_FALSE(model.visible());
    EXPECT_EQ(model.frameCloses, 1);
}

TEST(Splash, ProgressLineGrowsTheWindowAndGoesAgain) {
    SplashWindow splash;
    SplashProgress progress(splash);
    splash.show();
    const int plain = splash.height();
    progress.show("Reading server.cfg...");
    EXPECT_TRUE(splash.progressVisible());
    EXPECT_EQ(splash.progressText(), QStringLiteral("Reading server.cfg..."));
    EXPECT_GT(splash.height(), plain);
    // Paths show as the host writes them.
    progress.show("Processing action\\maps\\*.bsp...");
#ifdef _WIN32
    EXPECT_EQ(splash.progressText(), QStringLiteral("Processing action\\maps\\*.bsp..."));
#else
    EXPECT_EQ(splash.progressText(), QStringLiteral("Processing action/maps/*.bsp..."));
#endif
    progress.hide();
    EXPECT_FALSE(splash.progressVisible());
    EXPECT_EQ(splash.height(), plain);
}

TEST(Splash, TimerStartsOnceThenEndsTheProgramWhenTheMainWindowGoes) {
    SplashWindow splash;
    QWidget mainWindow;
    int startUps = 0;
    bool splashUpDuringStartUp = false;
    splash.show();
    splash.run(
        [&] {
            ++startUps;
            splashUpDuringStartUp = splash.isVisible();
            // Progress lets events through while start-up runs; no tick may act meanwhile.
            splash.showProgress(QStringLiteral("Sorting map listing..."));
            QTimer wait;
            wait.start(120);
            QEventLoop loop;
            QObject::connect(&wait, &QTimer::timeout, &loop, &QEventLoop::quit);
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            splash.hideProgress();
        },
        &mainWindow);
    QTimer::singleShot(300, [&] {
        EXPECT_TRUE(mainWindow.isVisible());
        EXPECT_FALSE(splash.isVisible());
        mainWindow.close();
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });  // the test must not hang
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(startUps, 1);
    EXPECT_TRUE(splashUpDuringStartUp);
}

struct MainWindowTest : ::testing::Test {
    test::TempDir dir;
    platform::FileSystem fs{dir.path()};
    test::ScriptedDialogs dialogs;
    platform::NullProgress progress;
    test::RecordingLauncher launcher;
    std::unique_ptr<app::Editor> editor;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        editor = std::make_unique<app::Editor>(fs, dialogs, progress, launcher);
        window = std::make_unique<MainWindow>(*editor);
        editor->StartUp();
        window->syncWindowState();
    }
    void TearDown() override { window.reset(); }
};

TEST_F(MainWindowTest, ElevenTabsInOrderWithTheFirstPluginTabOff) {
    QTabWidget* tabs = window->tabs();
    const QStringList expected = {"Server 1", "Server 2", "Server 3", "Maps",      "Scripts", "Game Spy",
                                  "Teams 1",  "Team 2",   "BW Admin 1", "BW Admin 2", "BW Bans"};
    ASSERT_EQ(tabs->count(), expected.size());
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_EQ(tabs->tabText(i), expected[i]);
        EXPECT_EQ(tabs->isTabEnabled(i), i != 8) << i;
    }
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Tolvane v1.3 - The Quickest Configuration Editor for Action Quake"));
    // Lists the start-up filled after the window was built show what it put there.
    auto* configs = window->findChild<QComboBox*>(QStringLiteral("ConfigNameList"));
    ASSERT_NE(configs, nullptr);
    EXPECT_EQ(configs->currentText(), QStringLiteral("default"));
    auto* strict = window->findChild<QComboBox*>(QStringLiteral("Strict"));
    ASSERT_NE(strict, nullptr);
    EXPECT_EQ(strict->count(), 3);
}

TEST_F(MainWindowTest, EveryServerFieldIsLaidOutOnItsTab) {
    QTabWidget* tabs = window->tabs();
    for (const auto& place : settings::ServerFieldPlaces()) {
        int tab = -1;
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == QString::fromLatin1(place.tab)) tab = i;
        ASSERT_GE(tab, 0) << place.tab;
        QWidget* widget = tabs->widget(tab)->findChild<QWidget*>(QString::fromLatin1(place.name));
        EXPECT_NE(widget, nullptr) << place.name << " missing on " << place.tab;
    }
    // A check box shows its caption and tool tip from the model.
    auto* flags = tabs->widget(1)->findChild<QCheckBox*>(QStringLiteral("GrenadesStay"));
    ASSERT_NE(flags, nullptr);
    EXPECT_EQ(flags->text(), QStringLiteral("Grenades Stay && No Drop Special"));
    EXPECT_TRUE(flags->toolTip().startsWith(QStringLiteral("Setting this option causes")));
}

TEST_F(MainWindowTest, EveryTabFitsOnASmallScreen) {
    // Room on a 1280 by 800 screen once a title bar and a panel are taken off. The window's
    // smallest size holds the largest page; its preferred size is where it opens.
    const QSize room(1280 - 40, 800 - 60);
    const QSize smallest = window->minimumSizeHint();
    EXPECT_LE(smallest.width(), room.width());
    EXPECT_LE(smallest.height(), room.height());
    const QSize preferred = window->sizeHint();
    EXPECT_LE(preferred.width(), room.width());
    EXPECT_LE(preferred.height(), room.height());
    for (int i = 0; i < window->tabs()->count(); ++i) {
        const QSize page = window->tabs()->widget(i)->minimumSizeHint();
        EXPECT_LE(page.width(), preferred.width()) << i;
        EXPECT_LE(page.height(), preferred.height()) << i;
    }
}

TEST_F(MainWindowTest, ButtonsPressTheModelAndCancelEndsTheProgram) {
    bool quit = false;
    editor->onQuit = [&] { quit = true; };
    auto* save = window->findChild<QPushButton*>(QStringLiteral("ButtonSave"));
    auto* cancel = window->findChild<QPushButton*>(QStringLiteral("ButtonCancel"));
    ASSERT_TRUE(save && cancel);
    EXPECT_EQ(save->toolTip(), QStringLiteral("Save the settings"));
    // Keyboard access: every button caption carries a mnemonic, but for the ban lists' New and
    // Delete, eight buttons of three letters: their frames carry the letters, their lists the keys.
    QWidget* bans = window->tabs()->widget(10);
    for (auto* b : window->findChildren<QPushButton*>(QRegularExpression(QStringLiteral("^Button"))))
        if (!bans->isAncestorOf(b)) {
            EXPECT_TRUE(b->text().contains(QLatin1Char('&'))) << b->objectName().toStdString();
        }
    cancel->click();
    EXPECT_TRUE(quit);
}

TEST_F(MainWindowTest, TabOrderFollowsTheColumnsTopToBottom) {
    QWidget* page = window->tabs()->widget(2);  // "Server 3"
    auto* time = page->findChild<NumericFieldWidget*>(QStringLiteral("TimeMOTD"));
    auto* splat = page->findChild<NumericFieldWidget*>(QStringLiteral("SplatLimit"));
    auto* motd = page->findChild<QWidget*>(QStringLiteral("MOTDText"));
    ASSERT_TRUE(time && splat && motd);
    std::vector<QWidget*> chain;
    for (QWidget* w = time->lineEdit()->nextInFocusChain(); w && w != time->lineEdit() && chain.size() < 500;
         w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && page->isAncestorOf(w)) chain.push_back(w);
    auto at = [&](QWidget* w) { return std::find(chain.begin(), chain.end(), w) - chain.begin(); };
    // The message box comes right after "Shorten MOTD", before the whole right-hand column.
    ASSERT_GE(chain.size(), 3u);
    EXPECT_EQ(chain[0]->objectName(), QStringLiteral("SkipMOTD"));
    EXPECT_EQ(chain[1], motd);
    EXPECT_LT(at(motd), at(splat->lineEdit()));
}

TEST_F(MainWindowTest, PasswordIsHiddenUntilShown) {
    auto* password = window->findChild<QLineEdit*>(QStringLiteral("Password"));
    auto* show = window->findChild<QCheckBox*>(QStringLiteral("PasswordShow"));
    ASSERT_TRUE(password && show);
    editor->server.Password.setText("secret");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_NE(password->displayText(), QStringLiteral("secret"));
    show->click();
    EXPECT_EQ(password->displayText(), QStringLiteral("secret"));
    show->click();
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    // Typing into the hidden box still reaches the model.
    password->end(false);
    test::Type(password, QStringLiteral("!"));
    EXPECT_EQ(editor->server.Password.text(), "secret!");
}

TEST_F(MainWindowTest, ClosedWindowTakesItsHandlersOffTheModels) {
    auto handlers = [&] {
        return editor->server.HostName.changed.handlerCount() + editor->main.MOTDText.changed.handlerCount() +
               editor->main.ConfigNameList.selected.handlerCount() + editor->mapFields.MapIni.changed.handlerCount();
    };
    const std::size_t withWindow = handlers();
    EXPECT_GT(window->bindings().size(), 100u);
    window.reset();
    const std::size_t without = handlers();
    EXPECT_LT(without, withWindow);
    // A second window puts on exactly as many as the first, and its typing still reaches the model.
    window = std::make_unique<MainWindow>(*editor);
    EXPECT_EQ(handlers(), withWindow);
    auto* host = window->findChild<QLineEdit*>(QStringLiteral("HostName"));
    ASSERT_NE(host, nullptr);
    host->setText(QString());
    test::Type(host, QStringLiteral("x"));
    EXPECT_EQ(editor->server.HostName.text(), "x");
}

}  // namespace
}  // namespace tolvane::ui
