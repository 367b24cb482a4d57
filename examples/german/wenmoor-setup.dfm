object MainForm: TForm
  Caption = 'Wenmoor Setup'
  object Install1: TInstall
    DestDir = '\German Example'
    Information.CompanyName = 'Example Company'
    Information.ProductName = 'German Example'
    Information.Version = '1.0'
  end
  object BeforeInstall: TDialogManager
    Container = Install1
  end
  object AfterGoodInstall: TDialogManager
    Container = Install1
    ManagerType = dmAfterGoodInstall
  end
  object DuringCopy: TDialogManager
    Container = Install1
    ManagerType = dmDuringCopyFiles
  end
  object LicenseDlg: TLicenseDlg
    Container = Install1
    DialogManager = BeforeInstall
    LicenseAgreement.Strings = (
      'Dieses Beispiel darf frei verwendet werden.')
  end
  object ReadmeDlg1: TReadmeDlg
    Container = Install1
    DialogManager = AfterGoodInstall
    ReadmeText.Strings = (
      'Vielen Dank.')
  end
  object CopyFileDlg: TCopyFileDlg
    Container = Install1
    DialogManager = DuringCopy
  end
  object MainTranslator: TTranslator
    lgEnglish.Strings.Strings = (
      '2;Please read the following License Agreement.'
      '3;By clicking on the Accept button below, you agree to all terms stated in the License Agreement. You may cancel the installation by clicking on the Cancel button.'
      '4;< Previous'
      '5;Next >'
      '6;Cancel'
      '8;Installation is complete. The README file below contains information about this product that may not be in the help files.'
      '10;This program will install a copy of the Product onto your computer.'
      '11;It is strongly recommended that you exit all Windows programs before running this setup. If you need to close any programs, click Cancel to quit the setup and then close the programs.'
      '12;Click Next to continue with the installation.'
      '14;Processing'
      '15;File progress'
      '16;Total progress'
      '26;&Browse'
      '38;The software has been properly installed. You may start the software by clicking on the icon.'
      '45;Please insert disk number %d'
      '46;If the files on this disk can be found in another location, for example, in another drive, enter its full path or click the Browse button to select its path.'
      '47;Path:'
      '48;&Browse...'
      '49;Proceed'
      '52;Several components could not be installed on your system because they were in use. For the installation to proceed, you will need to reboot your computer. If you decide not to reboot now, the software will probably not work until you do reboot.'
      '60;This software has not been properly installed and will not work correctly if you try to use it.'
      '72;Finish'
      '85;Which directory do you want to install this program into?'
      '86;To install to the directory displayed below, click Next.'
      '87;To install to a different directory, click Browse and select another directory.'
      '88;Accept >'
      '1001;Installation aborted by the user'
      '1002;Please insert disk #%d'
      '1003;Copy This File %s?'
      '1004;Could not reboot windows. Please manually reboot windows.'
      '1005;Yes, I would like to reboot windows'
      '1006;No, I would not like to reboot windows'
      '1007;Welcome'
      '1008;Choose Destination Location'
      '1009;Destination Directory'
      '1010;Installation complete'
      '1011;Software license agreement'
      '1012;Installation successful'
      '1013;Setup complete'
      '1014;Setup incomplete'
      '1015;Reboot windows'
      '1016;Copying installation files'
      '1017;Setup needs the next disk')
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
    TranslateIntoLanguage = wlGerman
  end
end
