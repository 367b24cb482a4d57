object MainForm: TForm
  Caption = 'Setup'
  object Install1: TInstall
    DestDir = 'C:\Program Files\Qry'
    InstallTypes = [itFull, itDefault]
    Information.ProductName = 'Quarry'
  end
  object Dir1: TInstallDirectory
    Container = Install1
    DestDir = '\Help'
    Include = False
    object File1: TInstallFile
      Container = Dir1
    end
  end
end
