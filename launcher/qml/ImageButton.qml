import QtQuick 2.12

// Every button of the page: four picture states, optional hover/press masks and a label.
Rectangle {
    id: root_Button

    property string nomal_Image: ""
    property string hover_Image: ""
    property string press_Image: ""
    property string disable_Image: ""
    // Empty means "the label's own colour" (textColor).
    property string nomal_textColor: ""
    property string hover_textColor: ""
    property string press_textColor: ""
    property string disable_textColor: "#b2999999"
    property bool interactable: true
    property bool is_show_pointinghand: false
    property bool is_use_statusMask: false
    property int pixelSize: 18
    // A button of fixed size fits its label: the label shrinks down to this size, and a label
    // still too long is then elided. 0 (the default) keeps the label at pixelSize; such a
    // button must take its width from its label.
    property int minimumPixelSize: 0
    property int textMargin: 12
    // A fitted label may break between words before it shrinks.
    property bool wrapText: false

    property alias text: button_Text.text
    property alias buttonText: button_Text
    property alias textColor: button_Text.restColor
    property alias fontSize: button_Text.font.pixelSize
    property alias buttonImage: button_Background

    // The states rewrite the label's colour, so they read the resting colour from a
    // property of its own; reading the label's colour back would keep a state's colour.
    readonly property color effectiveNomalColor: nomal_textColor !== "" ? nomal_textColor
                                                                      : button_Text.restColor

    signal clicked
    signal pressed(real x, real y)

    color: "#00ffffff"
    radius: 4
    height: 30
    width: button_Text.contentWidth + 10
    state: "nomal"

    Component.onCompleted: {
        if (!interactable)
            state = "disable"
    }
    onInteractableChanged: state = interactable ? "nomal" : "disable"

    Rectangle {
        id: bg_color
        anchors.fill: parent
        radius: root_Button.radius
        color: "#4c999999"
        visible: false
    }

    Image {
        id: button_Background
        anchors.fill: parent
        fillMode: Image.Stretch
        source: root_Button.nomal_Image
    }

    Text {
        id: button_Text
        property color restColor: "#704a1d"
        readonly property bool fitted: root_Button.minimumPixelSize > 0
        anchors.centerIn: parent
        width: fitted ? Math.max(0, root_Button.width - 2 * root_Button.textMargin) : implicitWidth
        height: fitted ? root_Button.height : implicitHeight
        color: restColor
        font.letterSpacing: 2
        font.pixelSize: root_Button.pixelSize
        fontSizeMode: fitted ? Text.Fit : Text.FixedSize
        minimumPixelSize: fitted ? root_Button.minimumPixelSize : 1
        elide: fitted ? Text.ElideRight : Text.ElideNone
        wrapMode: fitted && root_Button.wrapText ? Text.WordWrap : Text.NoWrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    Rectangle {
        id: hover_mask
        anchors.fill: parent
        radius: root_Button.radius
        color: "#1dffffff"
        visible: false
    }

    Rectangle {
        id: press_mask
        anchors.fill: parent
        radius: root_Button.radius
        color: "#33000000"
        visible: false
    }

    MouseArea {
        id: button_Mousearea
        anchors.fill: parent
        hoverEnabled: true
        enabled: root_Button.interactable
        cursorShape: root_Button.is_show_pointinghand ? Qt.PointingHandCursor : Qt.ArrowCursor

        onEntered: root_Button.state = enabled ? "hover" : "disable"
        onExited: root_Button.state = enabled ? "nomal" : "disable"
        onPressed: {
            root_Button.state = enabled ? "press" : "disable"
            root_Button.pressed(mouse.x, mouse.y)
        }
        onClicked: {
            root_Button.state = "nomal"
            root_Button.clicked()
        }
        onEnabledChanged: root_Button.state = enabled ? "nomal" : "disable"
    }

    states: [
        State {
            name: "nomal"
            PropertyChanges { target: button_Background; source: root_Button.nomal_Image }
            PropertyChanges { target: button_Text; color: root_Button.effectiveNomalColor }
            PropertyChanges { target: hover_mask; visible: false }
            PropertyChanges { target: press_mask; visible: false }
            PropertyChanges { target: bg_color; visible: false }
        },
        State {
            name: "hover"
            PropertyChanges { target: button_Background; source: root_Button.hover_Image }
            PropertyChanges {
                target: button_Text
                color: root_Button.hover_textColor !== "" ? root_Button.hover_textColor
                                                          : root_Button.effectiveNomalColor
            }
            PropertyChanges { target: hover_mask; visible: root_Button.is_use_statusMask }
            PropertyChanges { target: press_mask; visible: false }
            PropertyChanges { target: bg_color; visible: false }
        },
        State {
            name: "press"
            PropertyChanges { target: button_Background; source: root_Button.press_Image }
            PropertyChanges {
                target: button_Text
                color: root_Button.press_textColor !== "" ? root_Button.press_textColor
                                                          : root_Button.effectiveNomalColor
            }
            PropertyChanges { target: hover_mask; visible: false }
            PropertyChanges { target: press_mask; visible: root_Button.is_use_statusMask }
            PropertyChanges { target: bg_color; visible: false }
        },
        State {
            name: "disable"
            PropertyChanges { target: button_Background; source: root_Button.disable_Image }
            PropertyChanges { target: button_Text; color: root_Button.disable_textColor }
            PropertyChanges { target: bg_color; visible: true }
        }
    ]

    transitions: [
        Transition { from: "nomal"; to: "hover"; PropertyAnimation { duration: 100 } },
        Transition { from: "hover"; to: "press"; PropertyAnimation { duration: 100 } },
        Transition { from: "press"; to: "nomal"; PropertyAnimation { duration: 100 } },
        Transition { from: "disable"; to: "nomal"; PropertyAnimation { duration: 100 } }
    ]
}
