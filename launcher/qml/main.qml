import QtQuick 2.12
import QtQuick.Controls 2.4
import Qt.labs.platform 1.1 as Platform
import QtQuick.Dialogs 1.2
import QtQuick.Controls.Styles 1.4
import QtWebChannel 1.0
import QtWebEngine 1.2
import QtQuick.Window 2.2

// The launcher's one page. The view model drives it through the bindings below and
// writes a few items directly by objectName, so those names must not change.
ApplicationWindow {
    id: rootWindow
    objectName: "rootWindow"
    width: 1280
    height: 730
    color: "#141414"
    title: ""
    visible: true
    flags: Qt.FramelessWindowHint | Qt.Window | Qt.WindowMinimizeButtonHint
           | Qt.WindowMaximizeButtonHint

    function bringBack() {
        rootWindow.show()
        rootWindow.raise()
        rootWindow.requestActivate()
    }

    // Translators mark a wanted line break in a button label with "。".
    function buttonLabel(text) {
        return text.replace(/。/g, "\n")
    }

    onClosing: mainViewModel.onApplicationQuit()
    onVisibilityChanged: {
        if (visibility === Window.Windowed) {
            mainViewModel.UpdateInfoByHttp()
            rootWindow.raise()
            rootWindow.requestActivate()
        }
    }

    Platform.SystemTrayIcon {
        id: trayIcon
        objectName: "trayIcon"
        visible: true
        iconSource: "icon/launcher.ico"
        tooltip: qsTr("title_app_name_kv")
        menu: Platform.Menu {
            id: trayMenu
            Platform.MenuItem {
                objectName: "trayOpenItem"
                text: qsTr("button_open_main_window")
                onTriggered: rootWindow.bringBack()
            }
            Platform.MenuItem {
                objectName: "trayQuitItem"
                text: qsTr("button_quit")
                onTriggered: rootWindow.close()
            }
        }
        onActivated: {
            if (reason === 1)
                trayMenu.open()
            else
                rootWindow.bringBack()
        }
    }

    Image {
        id: networkbg
        objectName: "networkbg"
        anchors.left: parent.left
        anchors.top: parent.top
        width: 1280
        height: 730
        opacity: 1
        asynchronous: true
        cache: false
        source: mainViewModel.bgPath
    }

    Image {
        id: bgBottomMask
        objectName: "bgBottomMask"
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        width: 1280
        height: 224
        asynchronous: true
        cache: false
        source: "pic/bg_mask.png"
        visible: mainViewModel.downloading || mainViewModel.setupGameing
    }

    Rectangle {
        id: top_bar
        objectName: "top_bar"
        width: rootWindow.width
        height: 30
        color: "#141414"

        MouseArea {
            id: dragArea
            property point clickPos: "0,0"
            anchors.fill: parent
            anchors.leftMargin: 80
            acceptedButtons: Qt.LeftButton
            onPressed: clickPos = Qt.point(mouse.x, mouse.y)
            onPositionChanged: {
                var delta = Qt.point(mouse.x - clickPos.x, mouse.y - clickPos.y)
                rootWindow.setX(rootWindow.x + delta.x)
                rootWindow.setY(rootWindow.y + delta.y)
            }
        }

        Text {
            id: game_name
            anchors.left: parent.left
            anchors.leftMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            width: contentWidth
            text: qsTr("title_app_name_kv")
            color: "#FFFFFF"
            font.pixelSize: 12
        }

        Text {
            id: versionText
            objectName: "versionText"
            anchors.left: game_name.right
            anchors.leftMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: ""
            color: "#50ffffff"
            font.pixelSize: 12
            fontSizeMode: Text.FixedSize
            elide: Text.ElideNone
        }

        Text {
            id: preTip
            objectName: "preTip"
            anchors.left: versionText.right
            anchors.leftMargin: 20
            anchors.verticalCenter: parent.verticalCenter
            width: 380
            visible: false
            color: "#ffff0000"
            font.pixelSize: 18
            text: "预览版本-请勿外传！！！！"
        }
    }

    ImageButton {
        id: closebtn
        objectName: "closebtn"
        anchors.right: parent.right
        anchors.top: parent.top
        width: 30
        height: 30
        z: 2
        nomal_Image: "pic/btn_close_n.png"
        hover_Image: "pic/btn_close_o.png"
        press_Image: "pic/btn_close_d.png"
        onClicked: mainViewModel.btnExitClick()
    }

    ImageButton {
        id: minisizebtn
        objectName: "minisizebtn"
        anchors.right: closebtn.left
        anchors.top: parent.top
        width: 30
        height: 30
        nomal_Image: "pic/btn_min_n.png"
        hover_Image: "pic/btn_min_o.png"
        press_Image: "pic/btn_min_d.png"
        onClicked: rootWindow.showMinimized()
    }

    ImageButton {
        id: settingbtn
        objectName: "settingbtn"
        anchors.right: minisizebtn.left
        anchors.top: parent.top
        width: 30
        height: 30
        nomal_Image: "pic/btn_set_n.png"
        hover_Image: "pic/btn_set_o.png"
        press_Image: "pic/btn_set_d.png"
        onClicked: mainViewModel.btnSettingClick()
    }

    ImageButton {
        id: redPoint
        objectName: "redPoint"
        anchors.left: settingbtn.left
        anchors.leftMargin: 18
        anchors.top: settingbtn.top
        anchors.topMargin: 8
        width: 6
        height: 6
        radius: 3
        color: "#ff0000"
        visible: mainViewModel.hasNewProgramVersion
        // The dot sits on the settings button and invites a click; it must not swallow it.
        onClicked: mainViewModel.btnSettingClick()
    }

    QtObject {
        id: contextObject
        WebChannel.id: "client"
        property string reportParam: mainViewModel.reportParam
    }

    WebChannel {
        id: pageChannel
        registeredObjects: [contextObject]
    }

    WebEngineView {
        id: bgWebView
        objectName: "bgWebView"
        anchors.left: parent.left
        anchors.top: top_bar.bottom
        width: rootWindow.width
        height: rootWindow.height - top_bar.height
        backgroundColor: "#00000000"
        url: mainViewModel.mainBgUrl
        webChannel: pageChannel

        // Links that want a new window belong in the player's browser, not in the page.
        onNewViewRequested: Qt.openUrlExternally(request.requestedUrl)
        onLoadingChanged: {
            if (loadRequest.status === WebEngineView.LoadSucceededStatus) {
                // A page served by the web service reports its HTTP status here.
                if (loadRequest.errorCode === 200)
                    mainViewModel.singleReloadWeb()
                else
                    bgWebView.visible = false
            } else if (loadRequest.status === WebEngineView.LoadFailedStatus) {
                bgWebView.visible = false
            }
        }
    }

    // Swallows right clicks so the web page never shows its context menu; it lies exactly
    // over the web view, down to the window's bottom edge.
    MouseArea {
        id: rightClickGuard
        objectName: "rightClickGuard"
        anchors.fill: bgWebView
        acceptedButtons: Qt.RightButton
    }

    MouseArea {
        id: aboutArea
        objectName: "aboutArea"
        anchors.left: parent.left
        anchors.top: parent.top
        width: 80
        height: 80
        acceptedButtons: Qt.LeftButton
        onPressed: mainViewModel.appInfoAreaClick()
    }

    ImageButton {
        id: viewActivity
        objectName: "viewActivity"
        anchors.right: parent.right
        anchors.rightMargin: 129
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 160
        width: 136
        height: 40
        radius: 20
        visible: false
        is_use_statusMask: true
        onClicked: Qt.openUrlExternally(mainViewModel.btnMoreActiveJumpUrl())
    }

    ImageButton {
        id: installBtn
        objectName: "installBtn"
        anchors.right: parent.right
        anchors.rightMargin: 126
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 39
        width: 238
        height: 64
        pixelSize: 24
        minimumPixelSize: 13
        // The picture's ornaments take the first and last 35 pixels; a long label goes onto
        // two lines between them before it shrinks.
        textMargin: 36
        wrapText: true
        nomal_Image: "pic/main_btn_n.png"
        hover_Image: "pic/main_btn_o.png"
        press_Image: "pic/main_btn_d.png"
        visible: mainViewModel.installEnable
        text: rootWindow.buttonLabel(mainViewModel.isDownloadNotComplated
                                     ? qsTr("button_continue_download")
                                     : qsTr("button_get_game"))
        onClicked: mainViewModel.installEnsureBtnClicked()
    }

    ImageButton {
        id: updateBtn
        objectName: "updateBtn"
        x: 916
        y: installBtn.y
        width: installBtn.width
        height: installBtn.height
        pixelSize: 24
        minimumPixelSize: 13
        // The picture's ornaments take the first and last 35 pixels; a long label goes onto
        // two lines between them before it shrinks.
        textMargin: 36
        wrapText: true
        nomal_Image: "pic/main_btn_n.png"
        hover_Image: "pic/main_btn_o.png"
        press_Image: "pic/main_btn_d.png"
        visible: mainViewModel.updateEnable
        text: rootWindow.buttonLabel(mainViewModel.isDownloadNotComplated
                                     ? qsTr("button_continue_download")
                                     : qsTr("button_update"))
        onClicked: mainViewModel.updateBtnClicked()
    }

    ImageButton {
        id: startBtn
        objectName: "startBtn"
        x: 916
        y: installBtn.y
        width: installBtn.width
        height: installBtn.height
        pixelSize: 24
        minimumPixelSize: 13
        // The picture's ornaments take the first and last 35 pixels; a long label goes onto
        // two lines between them before it shrinks.
        textMargin: 36
        wrapText: true
        nomal_Image: "pic/main_btn_n.png"
        hover_Image: "pic/main_btn_o.png"
        press_Image: "pic/main_btn_d.png"
        text: rootWindow.buttonLabel(qsTr("button_start_game"))
        visible: mainViewModel.startGameVisible
        interactable: mainViewModel.startGameEnable
        onClicked: {
            // Out of the player's way before the game window appears.
            rootWindow.showMinimized()
            rootWindow.hide()
            mainViewModel.startGameBtnClicked()
        }
    }

    Rectangle {
        id: installPathRect
        objectName: "installPathRect"
        anchors.left: parent.left
        anchors.leftMargin: 50
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 39
        width: 700
        height: 50
        color: "transparent"
        visible: mainViewModel.installEnable && !mainViewModel.isDownloadNotComplated

        Rectangle {
            id: installPathTip
            anchors.left: parent.left
            anchors.top: parent.top
            height: 25
            radius: 2
            color: "#19ffffff"
            width: Math.max(txtPath.contentWidth + 21, 230)

            Text {
                id: txtPath
                objectName: "curinstallPath"
                anchors.left: parent.left
                anchors.leftMargin: 10
                color: "#ffffff"
                font.pixelSize: 14
                font.weight: Font.Light
                topPadding: 2
                text: mainViewModel.installPath
            }

            MouseArea {
                anchors.fill: parent
                onPressed: {}
            }
        }

        ImageButton {
            id: chg_InstallPath_ico
            anchors.left: parent.left
            anchors.leftMargin: 10
            anchors.top: installPathTip.bottom
            anchors.topMargin: 6
            width: 18
            height: 18
            nomal_Image: "pic/change.png"
            hover_Image: "pic/change.png"
            press_Image: "pic/change.png"
        }

        ImageButton {
            id: chg_InstallPath_btn
            objectName: "chg_InstallPath_btn"
            anchors.left: chg_InstallPath_ico.right
            anchors.leftMargin: 2
            anchors.verticalCenter: chg_InstallPath_ico.verticalCenter
            height: 18
            pixelSize: 16
            text: qsTr("button_change_install_path")
            textColor: "#ffd846"
            nomal_textColor: "#ffd846"
            hover_textColor: "#ffec5c"
            press_textColor: "#ffc43a"
            is_show_pointinghand: true
            onClicked: mainViewModel.changeInstallPathBtnClicked()
        }
    }

    Rectangle {
        id: download_bg
        objectName: "download_bg"
        x: 50
        y: 643
        anchors.left: parent.left
        anchors.leftMargin: 50
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 23
        width: 820
        height: 80
        color: "transparent"
        visible: mainViewModel.downloading || mainViewModel.setupGameing

        Text {
            id: download_percentage
            objectName: "download_percentage"
            anchors.left: parent.left
            anchors.top: parent.top
            height: 17
            text: qsTr("label_downloading_percent")
            color: "#ffffffff"
            font.pixelSize: 16
            visible: mainViewModel.downloading
        }

        Text {
            id: setup_percentage
            objectName: "setup_percentage"
            anchors.left: parent.left
            anchors.top: parent.top
            height: 17
            text: qsTr("label_checking_md5")
            color: "#ffffffff"
            font.pixelSize: 16
            visible: mainViewModel.setupGameing
        }

        ProgressBar {
            id: cProgress
            objectName: "progress"
            property string proColor: "#b2ffffff"
            property string proBackgroundColor: "#33ffffff"
            property int proRadius: 4
            property var progress: 0

            anchors.left: parent.left
            anchors.top: download_percentage.bottom
            anchors.topMargin: 9
            width: 776
            height: 24
            value: mainViewModel.progress
            onValueChanged: progress = (mainViewModel.progress * 100).toFixed(1)

            background: Rectangle {
                implicitWidth: 776
                implicitHeight: 24
                radius: cProgress.proRadius
                color: cProgress.proBackgroundColor
                border.width: 1
                border.color: "#7fcbcccd"
            }
            contentItem: Item {
                implicitWidth: 776
                implicitHeight: 24
                Rectangle {
                    objectName: "progressFill"
                    width: cProgress.visualPosition * cProgress.width
                    height: parent.height
                    radius: cProgress.proRadius
                    color: cProgress.proColor
                }
            }
        }

        Text {
            id: task_needtime
            objectName: "task_needtime"
            anchors.right: cProgress.right
            anchors.top: parent.top
            text: qsTr("label_task_need_time")
            color: "#FFD846"
            font.pixelSize: 16
            horizontalAlignment: Text.AlignRight
            visible: mainViewModel.downloading
        }

        Text {
            id: download_speed
            objectName: "download_speed"
            anchors.left: cProgress.left
            anchors.leftMargin: 2
            anchors.top: cProgress.bottom
            anchors.topMargin: 9
            height: 15
            text: qsTr("label_download_speed")
            color: "#b2ffffff"
            font.pixelSize: 14
            visible: mainViewModel.downloading
        }

        ImageButton {
            id: pauseDownloadBtn
            objectName: "pauseDownloadBtn"
            anchors.left: cProgress.right
            anchors.leftMargin: 10
            anchors.top: cProgress.top
            anchors.topMargin: -3
            width: 30
            height: 30
            nomal_Image: "pic/continue_n.png"
            hover_Image: "pic/continue_o.png"
            press_Image: "pic/continue_d.png"
            visible: mainViewModel.downloading
            onClicked: mainViewModel.pauseBtnClicked()
        }
    }

    // Above the close button (z 2) too, so nothing on the page stays bright behind a dialog.
    Rectangle {
        id: bgMask_msgbox
        objectName: "bgMask_msgbox"
        z: 3
        anchors.left: parent.left
        anchors.top: parent.top
        width: 1280
        height: 730
        color: "#99000000"
        visible: false
    }
}
