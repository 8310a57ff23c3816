pragma Singleton
import QtQuick 2.6

// Colours and sizes shared by every page. `unit` grows with the short side of the window, so the
// pages keep their proportions from a small desktop window to a high-resolution phone.
QtObject {
    property real unit: 1

    readonly property color background: "#0b1824"
    readonly property color backgroundDeep: "#07111a"
    readonly property color panel: "#d9112231"
    readonly property color panelSolid: "#132638"
    readonly property color raised: "#1b3247"
    readonly property color raisedPressed: "#26445f"
    readonly property color outline: "#2e4c66"
    readonly property color veil: "#a6050c14"
    readonly property color text: "#eef3f7"
    readonly property color textDim: "#98aec2"
    readonly property color textFaint: "#61788c"
    readonly property color accent: "#ffb547"
    readonly property color accentPressed: "#e89a2a"
    readonly property color textOnAccent: "#241503"
    readonly property color good: "#6ed49b"
    readonly property color bad: "#ff7b6b"

    readonly property real fontTiny: 10 * unit
    readonly property real fontSmall: 12 * unit
    readonly property real fontBody: 15 * unit
    readonly property real fontLarge: 19 * unit
    readonly property real fontTitle: 26 * unit
    readonly property real fontHuge: 34 * unit

    readonly property real gap: 8 * unit
    readonly property real margin: 14 * unit
    readonly property real button: 44 * unit
    readonly property real radius: 10 * unit

    // The four difficulty bands, 0 (Intro) to 3 (Hard), as the level list gives them.
    function difficultyColor(band) {
        return ["#5cc7d6", good, accent, bad][band]
    }
}
