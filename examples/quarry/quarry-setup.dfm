object MainForm: TMainForm
  Left = 192
  Top = 107
  Width = 560
  Height = 484
  Caption = 'MainForm'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  PixelsPerInch = 96
  TextHeight = 13
  object BackDrop: TBackdrop
    Left = 0
    Top = 0
    Width = 552
    Height = 457
    Align = alClient
    object ProductLabel: TRotate3DLabel
      Left = 0
      Top = 0
      Width = 552
      Height = 65
      Align = alTop
      Caption = 'Qry'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWhite
      Font.Height = -32
      Font.Name = 'Arial'
      Font.Style = [fsBold]
    end
  end
  object psBDEDLL: TpsBDEDLL
  end
  object psCommonFiles: TpsCommonFiles
  end
  object psContainerArchiveFile: TpsContainerArchiveFile
  end
  object psContainerDestDir: TpsContainerDestDir
  end
  object psDesktopMenu: TpsDesktopMenu
  end
  object psInstallSource: TpsInstallSource
  end
  object psMainArchiveFile: TpsMainArchiveFile
  end
  object psMainInstall: TpsMainInstall
  end
  object psProgramFiles: TpsProgramFiles
  end
  object psProgramMenu: TpsProgramMenu
  end
  object psStartMenu: TpsStartMenu
  end
  object psStartupMenu: TpsStartupMenu
  end
  object psSystem: TpsSystem
  end
  object psWindow: TpsWindow
  end
  object psPrinters: TpsPrinters
  end
  object psRecent: TpsRecent
  end
  object psSendTo: TpsSendTo
  end
  object psStartup: TpsStartup
  end
  object psControlPanel: TpsControlPanel
  end
  object psFavorites: TpsFavorites
  end
  object psBitBucket: TpsBitBucket
  end
  object psCookies: TpsCookies
  end
  object psCommonAltStartup: TpsCommonAltStartup
  end
  object psCommonStartup: TpsCommonStartup
  end
  object psCommonDesktopDirectory: TpsCommonDesktopDirectory
  end
  object psCommonFavorites: TpsCommonFavorites
  end
  object psCommonPrograms: TpsCommonPrograms
  end
  object psCommonStartMenu: TpsCommonStartMenu
  end
  object psOfficeUserTemplates: TpsOfficeUserTemplates
  end
  object psOfficeWorkgroupTemplates: TpsOfficeWorkgroupTemplates
  end
  object psOfficeClipartDirectory: TpsOfficeClipartDirectory
  end
  object psOfficeStartupDirectory: TpsOfficeStartupDirectory
  end
  object psOfficeToolsDirectory: TpsOfficeToolsDirectory
  end
  object psOfficeFavoritesDirectory: TpsOfficeFavoritesDirectory
  end
  object psQuickLaunchMenu: TpsQuickLaunchMenu
  end
  object Install1: TInstall
    DestDir = '\Qry'
    DestDirType = psProgramFiles
    HideMainForm = False
    Reboot = False
    UseLoadingProgram = True
    Information.CompanyName = 'Fennick Software'
    Information.ProductName = 'Qry'
    Information.Version = '1.03'
    BuildInfo.OCXName = 'wmsetup'
    BuildInfo.SignCode = False
    OnAfterInitialized = Install1AfterInitialized
    OnBeforeNotifyGoodInstall = Install1BeforeNotifyGoodInstall
  end
  object MainTranslator: TTranslator
    lgChineseSimplified.Font.Height = -11
    lgChineseSimplified.Font.Name = 'MS Sans Serif'
    lgChineseSimplified.FontOverride = False
    lgChineseTraditional.Font.Height = -11
    lgChineseTraditional.Font.Name = 'MS Sans Serif'
    lgChineseTraditional.FontOverride = False
    lgCzech.Font.Height = -11
    lgCzech.Font.Name = 'MS Sans Serif'
    lgCzech.FontOverride = False
    lgDanish.Font.Height = -11
    lgDanish.Font.Name = 'MS Sans Serif'
    lgDanish.FontOverride = False
    lgDutch.Font.Height = -11
    lgDutch.Font.Name = 'MS Sans Serif'
    lgDutch.FontOverride = False
    lgEnglish.Font.Height = -11
    lgEnglish.Font.Name = 'MS Sans Serif'
    lgEnglish.FontOverride = False
    lgFrench.Font.Height = -11
    lgFrench.Font.Name = 'MS Sans Serif'
    lgFrench.FontOverride = False
    lgGerman.Font.Height = -11
    lgGerman.Font.Name = 'MS Sans Serif'
    lgGerman.FontOverride = False
    lgGreek.Font.Height = -11
    lgGreek.Font.Name = 'MS Sans Serif'
    lgGreek.FontOverride = False
    lgHebrew.Font.Height = -11
    lgHebrew.Font.Name = 'MS Sans Serif'
    lgHebrew.FontOverride = False
    lgItalian.Font.Height = -11
    lgItalian.Font.Name = 'MS Sans Serif'
    lgItalian.FontOverride = False
    lgJapanese.Font.Height = -11
    lgJapanese.Font.Name = 'MS Sans Serif'
    lgJapanese.FontOverride = False
    lgKorean.Font.Height = -11
    lgKorean.Font.Name = 'MS Sans Serif'
    lgKorean.FontOverride = False
    lgNorwegianBokmal.Font.Height = -11
    lgNorwegianBokmal.Font.Name = 'MS Sans Serif'
    lgNorwegianBokmal.FontOverride = False
    lgNorwegianNynorsk.Font.Height = -11
    lgNorwegianNynorsk.Font.Name = 'MS Sans Serif'
    lgNorwegianNynorsk.FontOverride = False
    lgPolish.Font.Height = -11
    lgPolish.Font.Name = 'MS Sans Serif'
    lgPolish.FontOverride = False
    lgPortugese.Font.Height = -11
    lgPortugese.Font.Name = 'MS Sans Serif'
    lgPortugese.FontOverride = False
    lgRussian.Font.Height = -11
    lgRussian.Font.Name = 'MS Sans Serif'
    lgRussian.FontOverride = False
    lgSpanish.Font.Height = -11
    lgSpanish.Font.Name = 'MS Sans Serif'
    lgSpanish.FontOverride = False
    lgSwedish.Font.Height = -11
    lgSwedish.Font.Name = 'MS Sans Serif'
    lgSwedish.FontOverride = False
    lgVietnamese.Font.Height = -11
    lgVietnamese.Font.Name = 'MS Sans Serif'
    lgVietnamese.FontOverride = False
    lgGerman.Strings.Strings = (
      '2;Bitte lesen Sie den folgenden Lizenzvertrag.'
      '3;Wenn Sie unten auf Annehmen klicken, stimmen Sie allen Bedingungen des Lizenzvertrags zu. Mit Abbrechen können Sie die Installation beenden.'
      '4;< Zurück'
      '5;Weiter >'
      '6;Abbrechen'
      '8;Die Installation ist abgeschlossen. Die folgende LIESMICH-Datei enthält Hinweise zu diesem Produkt, die nicht in der Hilfe stehen.'
      '10;Dieses Programm installiert eine Kopie des Produkts auf Ihrem Computer.'
      '11;Es wird dringend empfohlen, alle Windows-Programme zu beenden, bevor Sie dieses Setup ausführen. Klicken Sie auf Abbrechen, um das Setup zu verlassen, und schließen Sie dann die Programme.'
      '12;Klicken Sie auf Weiter, um mit der Installation fortzufahren.'
      '14;Verarbeitung'
      '15;Fortschritt der Datei'
      '16;Gesamtfortschritt'
      '26;&Durchsuchen'
      '38;Die Software wurde ordnungsgemäß installiert. Sie können sie mit einem Klick auf ihr Symbol starten.'
      '45;Bitte legen Sie Diskette Nummer %d ein'
      '46;Wenn die Dateien dieser Diskette an einem anderen Ort liegen, etwa auf einem anderen Laufwerk, geben Sie den vollständigen Pfad ein oder wählen Sie ihn mit Durchsuchen aus.'
      '47;Pfad:'
      '48;&Durchsuchen...'
      '49;Fortfahren'
      '52;Einige Komponenten waren in Gebrauch und konnten nicht installiert werden. Damit die Installation fortgesetzt werden kann, müssen Sie den Computer neu starten. Bis dahin wird die Software wahrscheinlich nicht funktionieren.'
      '60;Diese Software wurde nicht ordnungsgemäß installiert und wird nicht richtig funktionieren, wenn Sie sie verwenden.'
      '72;Fertig stellen'
      '85;In welches Verzeichnis soll dieses Programm installiert werden?'
      '86;Klicken Sie auf Weiter, um in das unten angezeigte Verzeichnis zu installieren.'
      '87;Um in ein anderes Verzeichnis zu installieren, klicken Sie auf Durchsuchen und wählen Sie ein anderes Verzeichnis.'
      '88;Annehmen >'
      '1001;Die Installation wurde vom Benutzer abgebrochen'
      '1002;Bitte legen Sie Diskette Nr. %d ein'
      '1003;Diese Datei kopieren: %s?'
      '1004;Windows konnte nicht neu gestartet werden. Bitte starten Sie Windows von Hand neu.'
      '1005;Ja, ich möchte Windows jetzt neu starten'
      '1006;Nein, ich möchte Windows nicht neu starten'
      '1007;Willkommen'
      '1008;Zielverzeichnis wählen'
      '1009;Zielverzeichnis'
      '1010;Installation abgeschlossen'
      '1011;Lizenzvertrag'
      '1012;Installation erfolgreich'
      '1013;Setup abgeschlossen'
      '1014;Setup nicht abgeschlossen'
      '1015;Windows neu starten'
      '1016;Installationsdateien werden kopiert'
      '1017;Setup benötigt die nächste Diskette')
  end
  object DialogManager: TDialogManager
    Container = Install1
    ManagerType = dmBeforeInstall
  end
  object DialogManager1: TDialogManager
    Container = Install1
    ManagerType = dmAfterGoodInstall
  end
  object DialogManager2: TDialogManager
    Container = Install1
    ManagerType = dmAfterBadInstall
  end
  object DialogManager3: TDialogManager
    Container = Install1
    ManagerType = dmDuringCopyFiles
  end
  object DialogManager4: TDialogManager
    Container = Install1
    ManagerType = dmChangeDisk
  end
  object DialogManager5: TDialogManager
    Container = Install1
    ManagerType = dmReboot
  end
  object LicenseDlg: TLicenseDlg
    Container = Install1
    DialogManager = DialogManager
    Order = 10
    LicenseAgreement.Strings = (
      'QUARRY DATABASE ENGINE - EVALUATION LICENCE'
      ''
      'Fennick Software grants you the right to install and use this demonstration'
      'copy of the Quarry Database Engine for evaluation only.'
      ''
      'You may not distribute applications built with the evaluation version.'
      ''
      'The software is provided as is, without warranty of any kind.')
  end
  object ReadmeDlg1: TReadmeDlg
    Container = Install1
    DialogManager = DialogManager1
    Order = 10
    ReadmeText.Strings = (
      'Quarry Database Engine 1.41 - release notes'
      ''
      'The components TQryDatabase, TQryTable and TQryQuery are on the'
      '''Data Access'' page of the component palette.'
      ''
      'The demonstration projects are in the Demo directory of the installation.')
  end
  object CopyFileDlg: TCopyFileDlg
    Container = Install1
    DialogManager = DialogManager3
  end
  object InstallStatusDlg: TInstallStatusDlg
    Container = Install1
  end
  object BadInstallationDlg: TBadInstallationDlg
    Container = Install1
    DialogManager = DialogManager2
    Order = 10
  end
  object ChangeDiskDlg: TChangeDiskDlg
    Container = Install1
    DialogManager = DialogManager4
  end
  object RebootDlg: TRebootDlg
    Container = Install1
    DialogManager = DialogManager5
    Order = 10
  end
  object MainDir: TInstallDirectory
    Container = Install1
    Description = 'Qry'
    DestDir = ''
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object HelpDir: TInstallDirectory
    Container = MainDir
    Description = 'Help'
    DestDir = '\Help'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object Delphi3: TInstallDirectory
    Container = MainDir
    Description = 'Delphi 3'
    DestDir = '\Delphi3'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object Delphi4: TInstallDirectory
    Container = MainDir
    Description = 'Delphi 4'
    DestDir = '\Delphi4'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object Delphi5: TInstallDirectory
    Container = MainDir
    Description = 'Delphi 5'
    DestDir = '\Delphi5'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object Delphi6: TInstallDirectory
    Container = MainDir
    Description = 'Delphi 6'
    DestDir = '\Delphi6'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object Delphi7: TInstallDirectory
    Container = MainDir
    Description = 'Delphi 7'
    DestDir = '\Delphi7'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object Builder6: TInstallDirectory
    Container = MainDir
    Description = 'Builder 6'
    DestDir = '\Builder6'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object DemoDir: TInstallDirectory
    Container = MainDir
    Description = 'Demo'
    DestDir = '\Demo'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object UtilsDir: TInstallDirectory
    Container = MainDir
    Description = 'Utils'
    DestDir = '\Utils'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object SysDir: TInstallDirectory
    Container = MainDir
    Description = 'System'
    DestDir = ''
    DestDirType = psSystem
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object SourceDir: TInstallDirectory
    Container = MainDir
    Description = 'Source'
    DestDir = '\Source'
    DestDirType = psContainerDestDir
    Include = False
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object idMiscellaneous: TInstallDirectory
    Container = Install1
    Description = 'Uninstall'
    DestDir = '\Uninstall'
    DestDirType = psContainerDestDir
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    ArchiveFileType = psContainerArchiveFile
  end
  object psFileContainer1: TpsFileContainer
    FileContainer = MainDir
  end
  object psFileContainer2: TpsFileContainer
    FileContainer = HelpDir
  end
  object psFileContainer3: TpsFileContainer
    FileContainer = Delphi3
  end
  object psFileContainer4: TpsFileContainer
    FileContainer = Delphi4
  end
  object psFileContainer5: TpsFileContainer
    FileContainer = Delphi5
  end
  object psFileContainer6: TpsFileContainer
    FileContainer = Delphi6
  end
  object psFileContainer7: TpsFileContainer
    FileContainer = Delphi7
  end
  object psFileContainer8: TpsFileContainer
    FileContainer = Builder6
  end
  object psFileContainer9: TpsFileContainer
    FileContainer = DemoDir
  end
  object psFileContainer10: TpsFileContainer
    FileContainer = UtilsDir
  end
  object psFileContainer11: TpsFileContainer
    FileContainer = SysDir
  end
  object psFileContainer12: TpsFileContainer
    FileContainer = SourceDir
  end
  object psFileContainer: TpsFileContainer
    FileContainer = idMiscellaneous
  end
  object ifreadme_txt: TInstallFile
    Container = MainDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'readme.txt'
    FileName = 'readme.txt'
    IncludeFromDir = '<payload>'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 1
  end
  object iflicense_txt: TInstallFile
    Container = MainDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'license.txt'
    FileName = 'license.txt'
    IncludeFromDir = '<payload>'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 2
  end
  object ifquarry_hlp: TInstallFile
    Container = HelpDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'quarry.hlp'
    FileName = 'quarry.hlp'
    IncludeFromDir = '<payload>\Help'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 3
  end
  object ifquarry_cnt: TInstallFile
    Container = HelpDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'quarry.cnt'
    FileName = 'quarry.cnt'
    IncludeFromDir = '<payload>\Help'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 4
  end
  object ifQryEdit_exe: TInstallFile
    Container = UtilsDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'QryEdit.exe'
    FileName = 'QryEdit.exe'
    IncludeFromDir = '<payload>\Utils'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 5
  end
  object ifqrydb14_dll: TInstallFile
    Container = SysDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'qrydb14.dll'
    FileName = 'qrydb14.dll'
    IncludeFromDir = '<payload>\System'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 6
  end
  object ifdclqry14d4_bpl: TInstallFile
    Container = Delphi4
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'dclqry14d4.bpl'
    FileName = 'dclqry14d4.bpl'
    IncludeFromDir = '<payload>\Delphi4'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 7
  end
  object ifqry14d4_bpl: TInstallFile
    Container = Delphi4
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'qry14d4.bpl'
    FileName = 'qry14d4.bpl'
    IncludeFromDir = '<payload>\Delphi4'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 8
  end
  object ifqry14d4_dcp: TInstallFile
    Container = Delphi4
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'qry14d4.dcp'
    FileName = 'qry14d4.dcp'
    IncludeFromDir = '<payload>\Delphi4'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 9
  end
  object ifQryDB_dcu: TInstallFile
    Container = Delphi4
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'QryDB.dcu'
    FileName = 'QryDB.dcu'
    IncludeFromDir = '<payload>\Delphi4'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 10
  end
  object ifQryTable_dcu: TInstallFile
    Container = Delphi4
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'QryTable.dcu'
    FileName = 'QryTable.dcu'
    IncludeFromDir = '<payload>\Delphi4'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 11
  end
  object ifQryQuery_dcu: TInstallFile
    Container = Delphi4
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'QryQuery.dcu'
    FileName = 'QryQuery.dcu'
    IncludeFromDir = '<payload>\Delphi4'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 12
  end
  object ifQryDemo_dpr: TInstallFile
    Container = DemoDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'QryDemo.dpr'
    FileName = 'QryDemo.dpr'
    IncludeFromDir = '<payload>\Demo'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 13
  end
  object ifQryDemoMain_pas: TInstallFile
    Container = DemoDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'QryDemoMain.pas'
    FileName = 'QryDemoMain.pas'
    IncludeFromDir = '<payload>\Demo'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 14
  end
  object ifQryDemoMain_dfm: TInstallFile
    Container = DemoDir
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'QryDemoMain.dfm'
    FileName = 'QryDemoMain.dfm'
    IncludeFromDir = '<payload>\Demo'
    InstallTypes = [itFull, itDefault, itCompact]
    OS = [oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP]
    UniqueID = 15
  end
  object Uninstaller: TUninstallEXE
    Container = idMiscellaneous
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
    DestName = 'uninstall.exe'
    FileName = 'uninstall.exe'
    IncludeFromDir = '<framework>'
    UniqueID = 0
  end
  object InstallRegistry: TInstallRegistry
    Container = Install1
    Entries = <
      item
        Ident = 'Ver'
        PathSpecifier = psFileContainer1
        Text = '%p'
      end
      item
        Ident = 'InstallPath'
        PathSpecifier = psFileContainer1
        Text = '%p'
      end>
    InstallTypes = [itFull, itDefault, itCompact]
    Key = '\Software\Fennick Software\Qry'
    KeySpecifierType = ksAbsolute
  end
end
