import QtQuick 2.6
import "."

// Asks before a run is ended by hand: whoever is still out is lost, and the run is judged as it stands.
Card {
    id: card

    property var game
    signal confirmed()
    signal cancelled()

    readonly property bool enough: game.saved >= game.required

    Text {
        text: qsTr("End this run?")
        font.pixelSize: Style.fontTitle
        font.bold: true
        color: Style.text
    }

    Text {
        width: parent.width
        wrapMode: Text.WordWrap
        text: card.enough ? qsTr("%1 of %2 needed are saved: the level is won, and everyone still out is lost.")
                            .arg(game.saved).arg(game.required)
                          : qsTr("Only %1 of %2 needed are saved: the level is lost.").arg(game.saved).arg(game.required)
        font.pixelSize: Style.fontBody
        color: Style.textDim
    }

    Flow {
        width: parent.width
        spacing: Style.gap
        layoutDirection: Qt.RightToLeft

        TextButton {
            objectName: "confirmEndRunButton"
            primary: true
            icon: "check"
            text: qsTr("End run")
            onClicked: card.confirmed()
        }
        TextButton {
            objectName: "keepPlayingButton"
            icon: "play"
            text: qsTr("Keep playing")
            onClicked: card.cancelled()
        }
    }
}
