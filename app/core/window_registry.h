#pragma once

#include <QString>

#include <array>
#include <functional>
#include <vector>

class QObject;

namespace pimoko {

// The program's windows, each made once at start-up in this order. The order carries
// dependencies: the library records the start-up folder and reads the book list first,
// then the editor reads the settings file before any later window is made.
struct WindowEntry {
    const char* className;
    const char* caption; // UTF-8
};

inline constexpr std::array<WindowEntry, 13> kWindowOrder = { {
    { "TForm6", "ピモコ ver1.26" },
    { "TForm8", "ページ見出し" },
    { "TForm2", "ピモコエディタ" },
    { "TForm1", "テキスト詳細設定" },
    { "TForm3", "ピモコビューワ" },
    { "TForm4", "オプション" },
    { "TForm5", "配布ファイルのコピー確認" },
    { "TForm7", "クリップ設定" },
    { "TForm9", "ページ挿入の確認" },
    { "TForm10", "特殊効果、設定" },
    { "TForm11", "絵本オプション" },
    { "TForm12", "ページ挿入" },
    { "TForm13", "ピモコグラフィックエディタ" },
} };

// Position of a window class in the creation order, or -1.
int WindowOrderIndex(const QString& className);

// Makes the windows in the creation order. A window that another part of the program
// builds registers its maker under its class name; a class without a maker gets the
// fallback maker (a placeholder window), so the order and the set stay whole while
// the program grows.
class WindowRegistry {
public:
    using Maker = std::function<QObject*()>;
    using FallbackMaker = std::function<QObject*(const WindowEntry&)>;

    // False for a class that is not one of the program's windows or already has a maker.
    bool Register(const QString& className, Maker maker);
    void SetFallback(FallbackMaker maker) { fallback_ = std::move(maker); }

    // Calls the makers in order, each once; later calls do nothing.
    void CreateAll();
    bool Created() const { return created_; }

    // The instance of a class after CreateAll, or null.
    QObject* Instance(const QString& className) const;
    // The classes in the order their windows were made (for checks and tests).
    const std::vector<QString>& CreationLog() const { return log_; }

private:
    std::array<Maker, kWindowOrder.size()> makers_ {};
    std::array<QObject*, kWindowOrder.size()> instances_ {};
    FallbackMaker fallback_;
    std::vector<QString> log_;
    bool created_ = false;
};

} // namespace pimoko
