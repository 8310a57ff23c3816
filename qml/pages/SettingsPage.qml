import QtQuick 2.6
import "."

// Settings: the interface language (used from the next start), the sound switch, clearing the
// statistics, and the keyboard shortcuts of the desktop.
Rectangle {
    id: settingsPage

    property var game
    property var control
    signal backRequested()

    // The language object is gone for a moment while the game shuts down.
    readonly property string language: languageSettings ? languageSettings.language : ""
    readonly property bool restartRequired: languageSettings ? languageSettings.restartRequired : false

    property bool confirmingClear: false
    property bool statisticsCleared: false

    readonly property var shortcuts: [
        { keys: "1 – 8", action: qsTr("Hold a skill, press again to let go") },
        { keys: qsTr("Space, P"), action: qsTr("Pause or resume") },
        { keys: "S", action: qsTr("Change the speed") },
        { keys: "[  ]", action: qsTr("Lower or raise the release rate") },
        { keys: "+  −", action: qsTr("Zoom in or out") },
        { keys: "0", action: qsTr("Show the whole level") },
        { keys: "C", action: qsTr("Centre on the action") },
        { keys: "F", action: qsTr("Follow the selected crew member") },
        { keys: "R", action: qsTr("Restart the level") },
        { keys: qsTr("Backspace"), action: qsTr("Go back five seconds, hold to keep going back; also after a loss") },
        { keys: "←  →", action: qsTr("While paused, one moment back or forward") },
        { keys: qsTr("Enter"), action: qsTr("Start, next level or try again") },
        { keys: qsTr("Esc"), action: qsTr("Back to the levels") }
    ]

    onVisibleChanged: {
        confirmingClear = false
        statisticsCleared = false
    }

    color: Style.background

    Rectangle {
        id: header
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: Style.button + 2 * Style.gap
        color: Style.panelSolid

        IconButton {
            id: backButton
            objectName: "settingsBackButton"
            anchors.left: parent.left
            anchors.leftMargin: Math.max(Style.gap, content.x - Style.gap)
            anchors.verticalCenter: parent.verticalCenter
            flat: true
            icon: "back"
            onClicked: settingsPage.backRequested()
        }

        Text {
            anchors.left: backButton.right
            anchors.leftMargin: Style.gap
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Settings")
            font.pixelSize: Style.fontLarge
            font.bold: true
            color: Style.text
        }
    }

    Flickable {
        id: flick
        anchors.top: header.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        contentHeight: content.height + 3 * Style.margin
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: content
            x: (flick.width - width) / 2
            y: 1.5 * Style.margin
            width: Math.min(flick.width - 2 * Style.margin, 600 * Style.unit)
            spacing: Style.gap

            SectionTitle {
                text: qsTr("Language")
            }

            // Each language is named in its own words, so a player can find it whatever is showing.
            OptionRow {
                objectName: "languageOptionEn"
                width: parent.width
                text: "English"
                chosen: settingsPage.language === "en"
                onClicked: languageSettings.language = "en"
            }
            OptionRow {
                objectName: "languageOptionHu"
                width: parent.width
                text: "Magyar"
                chosen: settingsPage.language === "hu"
                onClicked: languageSettings.language = "hu"
            }
            Text {
                objectName: "restartNotice"
                width: parent.width
                visible: settingsPage.restartRequired
                text: qsTr("The new language shows the next time you start the game.")
                wrapMode: Text.WordWrap
                font.pixelSize: Style.fontBody
                color: Style.accent
            }

            SectionTitle {
                text: qsTr("Sound")
            }
            OptionRow {
                objectName: "soundOptionOn"
                width: parent.width
                text: qsTr("On")
                chosen: settingsPage.control.soundEnabled
                onClicked: settingsPage.control.soundEnabled = true
            }
            OptionRow {
                objectName: "soundOptionOff"
                width: parent.width
                text: qsTr("Off")
                chosen: !settingsPage.control.soundEnabled
                onClicked: settingsPage.control.soundEnabled = false
            }

            SectionTitle {
                text: qsTr("Statistics")
            }
            Text {
                width: parent.width
                text: qsTr("Attempts, wins and best results are kept for every level. Clearing them keeps your unlocked levels open.")
                wrapMode: Text.WordWrap
                font.pixelSize: Style.fontBody
                color: Style.textDim
            }
            TextButton {
                objectName: "clearStatisticsButton"
                visible: !settingsPage.confirmingClear
                text: qsTr("Clear statistics")
                onClicked: {
                    settingsPage.statisticsCleared = false
                    settingsPage.confirmingClear = true
                }
            }
            Column {
                width: parent.width
                spacing: Style.gap
                visible: settingsPage.confirmingClear

                Text {
                    width: parent.width
                    text: qsTr("Clear the statistics of every level? This cannot be undone.")
                    wrapMode: Text.WordWrap
                    font.pixelSize: Style.fontBody
                    font.bold: true
                    color: Style.bad
                }
                Row {
                    spacing: Style.gap
                    TextButton {
                        text: qsTr("Cancel")
                        onClicked: settingsPage.confirmingClear = false
                    }
                    TextButton {
                        objectName: "confirmClearButton"
                        primary: true
                        text: qsTr("Clear")
                        onClicked: {
                            game.clearStatistics()
                            settingsPage.confirmingClear = false
                            settingsPage.statisticsCleared = true
                        }
                    }
                }
            }
            Text {
                visible: settingsPage.statisticsCleared
                text: qsTr("Statistics cleared.")
                font.pixelSize: Style.fontBody
                color: Style.good
            }

            SectionTitle {
                text: qsTr("Keyboard")
            }
            Grid {
                columns: 2
                columnSpacing: Style.margin
                rowSpacing: Style.gap * 0.75

                Repeater {
                    model: settingsPage.shortcuts.length * 2

                    Text {
                        // Keys in the first column, what they do in the second.
                        width: index % 2 === 0 ? 7 * Style.fontBody : content.width - 7 * Style.fontBody - Style.margin
                        wrapMode: Text.WordWrap
                        text: index % 2 === 0 ? settingsPage.shortcuts[Math.floor(index / 2)].keys
                                              : settingsPage.shortcuts[Math.floor(index / 2)].action
                        font.pixelSize: Style.fontBody
                        font.bold: index % 2 === 0
                        color: index % 2 === 0 ? Style.accent : Style.text
                    }
                }
            }

            Text {
                topPadding: 2 * Style.margin
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: "Pellwick " + Qt.application.version
                font.pixelSize: Style.fontSmall
                color: Style.textFaint
            }
        }
    }
}
